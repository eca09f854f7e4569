#include "ConsolePath_win.h"

#include <windows.h>

#include "SystemPaths_win.h"
#include "WideText_win.h"

namespace pelorin::win {

namespace {

bool IsAscii(const String& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

String ConsolePath(const String& path) {
  if (IsAscii(path)) return path;
  const String shortPath = ShortPathOf(path);
  if (!shortPath.empty() && IsAscii(shortPath)) return shortPath;
  // Only an exact conversion: a best fit could name another file, and one the code page
  // cannot hold is not named at all.
  std::wstring wide;
  if (!WideFromUtf8(path, wide) || wide.empty()) return {};
  // Room for the longest form: a UTF-16 unit takes at most four bytes in any code page.
  String console(4 * wide.size(), '\0');
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                       console.data(), static_cast<int>(console.size()), nullptr, &lossy);
  if (size <= 0 || lossy) return {};
  console.resize(static_cast<std::size_t>(size));
  return console;
}

}  // namespace pelorin::win
