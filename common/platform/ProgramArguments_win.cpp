#include "ProgramArguments_win.h"

#include <windows.h>

#include "WideText_win.h"

namespace pelorin {

String ProgramArguments(bool& exact) {
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
  String arguments;
  exact = Utf8FromWide(line, arguments);
  if (exact) return arguments;
  // A lone surrogate has no UTF-8 form: the switches stay readable, so that a quiet run
  // still shows nothing, and the caller refuses the line.
  std::wstring readable(line);
  for (wchar_t& c : readable)
    if (c >= 0xD800 && c <= 0xDFFF) c = L'?';
  return Utf8(readable);
}

}  // namespace pelorin
