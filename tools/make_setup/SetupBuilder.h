#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// One item to pack: its name in the pack and the file it is read from.
struct SetupItem {
  std::string name;
  std::string source;
};

struct SetupSizes {
  std::uint64_t image = 0, list = 0, data = 0, total = 0;
};

// Writes the self-extracting setup file `output`: the setup program image, then the pack list
// and data made by the same AddFile code that setup reads them with, one spare byte, and the
// trailer that locates both copies. An item whose name setup would not install is refused.
// The file is written beside `output` and renamed over it only when complete; on any failure
// no `output` is left at all, so that a build never takes an old or partial one as current.
// Returns what went wrong, or an empty text.
std::string BuildSetupFile(FileSystem& files, const std::string& output, const std::string& image,
                           const std::vector<SetupItem>& items, SetupSizes& sizes);

}  // namespace pelorin
