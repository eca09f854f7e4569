#pragma once

#include <windows.h>

#include "Str.h"

#include "WideText_win.h"

namespace pelorin::win {

// A message box for the programs' UTF-8 texts, which may hold paths in any script; through
// the ANSI call such a path would show as question marks.
inline int ShowMessageBox(HWND owner, const String& text, const String& caption, UINT type) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), type);
}

}  // namespace pelorin::win
