#pragma once

#include <windows.h>

namespace pelorin::win {

// Shows or hides a window's title bar and has the system redraw its frame.
void ToggleTitleBar(HWND window, bool show);

}  // namespace pelorin::win
