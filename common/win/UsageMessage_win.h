#pragma once

#include <windows.h>

#include "Str.h"

#include "CommandLine.h"
#include "MessageBox_win.h"

namespace pelorin::win {

// Answers "/?" or a switch that is not known with the usage text in a message box (none in a
// quiet run, which shows nothing); returns the program's exit code.
inline int AnswerUsage(const CommandLine& line, const char* usage, const char* title) {
  const int code = line.Valid() ? kExitDone : kExitUsage;
  if (line.quiet) return kExitUsage;
  const String text = line.Valid() ? String(usage) : "Unknown switch: " + line.unknown + "\r\n\r\n" + usage;
  ShowMessageBox(nullptr, text, title, MB_OK | (line.Valid() ? 0 : MB_ICONEXCLAMATION));
  return code;
}

}  // namespace pelorin::win
