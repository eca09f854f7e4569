#pragma once

#include <windows.h>

namespace pelorin::win {

// The DPI of the monitor `window` is on, where the system tells it per window (Windows 10
// 1607 on), else the system's DPI.
int WindowDpi(HWND window);

// The dialog font (8 points of the system's dialog face), at `dpi`.
HFONT CreateDialogFont(int dpi);

// The system's message font, at `dpi`.
HFONT CreateMessageFont(int dpi);

// WM_DPICHANGED, which the headers name only for newer systems than the programs run on.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// Lays out a window moved to a monitor of another DPI: every child's place and size scaled
// from `fromDpi` to `toDpi`, with `font`, and the window where the system suggests.
void RescaleWindow(HWND window, int fromDpi, int toDpi, HFONT font, const RECT& suggested);

// Outlines `box` with a line `thickness` pixels wide inside it.
void FrameBox(HDC dc, const RECT& box, int thickness, COLORREF colour);

}  // namespace pelorin::win
