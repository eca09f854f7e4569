#pragma once

#include "Str.h"

namespace pelorin {

// This program's command line without its own path, as UTF-8: what WinMain is given, but
// with every character of a path intact, not only those of the ANSI code page. `exact` is
// false where the line holds what no text can carry (a lone surrogate): the line returned
// then has "?" there, and must be refused.
String ProgramArguments(bool& exact);

}  // namespace pelorin
