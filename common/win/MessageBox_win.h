#pragma once

#include <windows.h>

#include <string>

#include "WideText_win.h"

namespace pelorin::win {

// A message box for the programs' UTF-8 texts, which may hold paths in any script; through
// the ANSI call such a path would show as question marks.
inline int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), type);
}

}  // namespace pelorin::win
