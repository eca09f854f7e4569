#pragma once

#include "FileSystem.h"

namespace pelorin {

// The running account and the system's cryptographic generator, for the folders this run
// makes of its own.
PrivateFolderSource PrivateFolderSourceOfThisRun();

}  // namespace pelorin
