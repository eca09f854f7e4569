#pragma once

#include "Str.h"

namespace pelorin::win {

// A path as the command interpreter reads it from a batch file, in the console's (OEM) code
// page: the path itself when it is plain ASCII, else its short form when that is, else the
// path converted to the console's code page; empty when that cannot hold it exactly.
String ConsolePath(const String& path);

}  // namespace pelorin::win
