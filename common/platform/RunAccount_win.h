#pragma once

#include "FileSystem.h"

namespace pelorin {

// The running account and the system's cryptographic generator, for the folders this run
// makes of its own.
PrivateFolderSource PrivateFolderSourceOfThisRun();

// The token's user, as "S-1-5-..."; empty when the system cannot say.
String RunningAccountSid();

// `sid` as "S-1-5-..."; empty for none or when the system cannot say.
String SidText(void* sid);

}  // namespace pelorin
