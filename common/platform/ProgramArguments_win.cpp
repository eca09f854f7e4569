#include "ProgramArguments_win.h"

#include <windows.h>

#include "WideText_win.h"

namespace pelorin {

std::string ProgramArguments() {
  const wchar_t* line = GetCommandLineW();
  // The program's path ends at its closing quote or, unquoted, at the first blank, as the
  // start-up code that calls WinMain reads it.
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line > L' ') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return Utf8(line);
}

}  // namespace pelorin
