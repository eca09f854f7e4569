#pragma once

#include <windows.h>

#include "Str.h"

namespace pelorin::win {

// Lets the user pick a file-system folder in the system's folder browser, owned by `owner`.
// Returns the folder with a backslash at its end, or empty when the user cancelled.
String BrowseForInstallFolder(HWND owner);

}  // namespace pelorin::win
