#pragma once

#include "Str.h"

namespace pelorin {

// A folder the shell names by its CSIDL number (CSIDL_PROGRAM_FILES, CSIDL_COMMON_PROGRAMS,
// ...), without a backslash at its end; empty when the system cannot give it. The library
// is loaded only on the call, so a program that never asks does not wait for it at start.
String ShellFolderPath(int csidl);

}  // namespace pelorin
