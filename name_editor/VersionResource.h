#pragma once

#include "Str.h"
#include <string_view>

namespace pelorin {

// What the program's own version resource says about it.
struct VersionBlock {
  String productName;
  unsigned major = 0;
  unsigned minor = 0;
  unsigned revision = 0;
};

// Reads the version resource's bytes as the resource compiler lays them out (VS_VERSIONINFO:
// nodes of length, value length, type, UTF-16 key, value and children, each on a 4-byte
// boundary): the file version from the fixed part and the first string table's ProductName,
// as ASCII. What cannot be read stays empty or 0.
VersionBlock ParseVersionResource(std::string_view bytes);

}  // namespace pelorin
