#pragma once

#include <string>

namespace pelorin {

// This program's command line without its own path, as UTF-8: what WinMain is given, but
// with every character of a path intact, not only those of the ANSI code page.
std::string ProgramArguments();

}  // namespace pelorin
