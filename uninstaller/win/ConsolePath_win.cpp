#include "ConsolePath_win.h"

#include <windows.h>

#include "SystemPaths_win.h"
#include "WideText_win.h"

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
  // Only an exact conversion: a best fit could name another file, and one the code page
  // cannot hold is not named at all.
  std::wstring wide;
  if (!WideFromUtf8(path, wide) || wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) return {};
  std::string console(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), length, console.data(), size, nullptr, &lossy) !=
          size ||
      lossy)
    return {};
  return console;
}

}  // namespace pelorin::win
