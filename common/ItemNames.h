#pragma once

#include "Str.h"
#include <string_view>

namespace pelorin {

// Which pack item names setup can write as they stand. An item is setup data ("%" first), a
// file for the system folder ("$" and a bare file name) or a path below the install folder,
// in which "/" separates folders like "\". Windows would change some names on the way (a
// trailing dot or blank is dropped) or take them for something else (a device such as CON
// or LPT1, a wildcard), and some would be read back wrongly from the install log (its own
// name, a leading "&" that marks a shortcut there).

// Why setup would not install an item of this name, or null when it can; setup data, which
// is never installed, always can.
const char* ItemNameProblem(std::string_view item);

// Why a path below a folder, folders separated by "\" or "/", cannot be written as it
// stands, or null when it can: every step is checked as an item's name is.
const char* RelativePathProblem(std::string_view path);

// The path an installable item is written under, relative to its folder: without the "$"
// of a system file, and with "\" for every "/".
String ItemPath(std::string_view item);

// Whether Windows takes two names for the same file: ASCII letters compare without case.
bool SameFileName(std::string_view a, std::string_view b);

}  // namespace pelorin
