#include "ConsolePath_win.h"

#include <windows.h>

#include "SystemPaths_win.h"

namespace pelorin::win {

namespace {

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string ConsolePath(const std::string& path) {
  if (IsAscii(path)) return path;
  const std::string shortPath = ShortPathOf(path);
  if (!shortPath.empty() && IsAscii(shortPath)) return shortPath;
  // Single-byte code pages map byte for byte, so the length stays.
  std::string oem(path.size(), '\0');
  CharToOemBuffA(path.c_str(), oem.data(), static_cast<DWORD>(path.size()));
  return oem;
}

}  // namespace pelorin::win
