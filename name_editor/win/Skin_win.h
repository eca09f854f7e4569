#pragma once

#include <windows.h>

namespace pelorin::win {

// Paints the main window's skin: background, title strip with the close mark at its right
// end, and frames around the name, history and letter areas.
void PaintSkin(HDC dc, int width, int height);

}  // namespace pelorin::win
