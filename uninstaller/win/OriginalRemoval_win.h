#pragma once

#include <cstddef>
#include "Str.h"

#include "SelfRemoval.h"

namespace pelorin::win {

// In the original: starts its copy at `copyPath` with this process and this program's own file
// (opened for deletion, sharing neither writing nor replacing) as handles the copy inherits.
bool StartOriginalRemoval(const String& copyPath, const String& installFolder, std::size_t levels);

// In the copy: waits for the original to end, deletes its file through the inherited handle,
// whatever name it has by then, then the empty install folder and recorded folders above it.
// The exit code: 0, or kExitIncomplete when the original's file stays.
int FinishOriginalRemoval(const OriginalRemoval& removal);

}  // namespace pelorin::win
