#pragma once

#include <windows.h>

namespace pelorin::win {

// Paints the main window's skin: background, title strip with the close mark at its right
// end, and frames around the name, history and letter areas; `width` and `height` at 100 %,
// drawn at `scale` times that.
void PaintSkin(HDC dc, int width, int height, int scale);

// The name length counter over its piece of the title strip (whose top is the area's top),
// in the strip's text colour, or red when the name is longer than servers keep; the strip drawn
// at `scale`.
void PaintNameCounter(HDC dc, const RECT& area, const char* text, bool overLimit, int scale);

}  // namespace pelorin::win
