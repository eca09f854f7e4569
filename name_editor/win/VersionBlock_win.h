#pragma once

#include <string>

namespace pelorin::win {

// What the program's own version resource says about it.
struct VersionBlock {
  std::string productName;
  unsigned major = 0;
  unsigned minor = 0;
  unsigned revision = 0;
};

VersionBlock ReadVersionBlock(const std::string& executablePath);

}  // namespace pelorin::win
