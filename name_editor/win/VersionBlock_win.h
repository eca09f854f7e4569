#pragma once

#include "VersionResource.h"

namespace pelorin::win {

// This program's own version resource, read from its image in memory: no DLL beyond the
// system's own is needed for it.
VersionBlock ReadVersionBlock();

}  // namespace pelorin::win
