#include "TitleBar_win.h"

namespace pelorin::win {

void ToggleTitleBar(HWND window, bool show) {
  LONG style = GetWindowLongA(window, GWL_STYLE);
  style = show ? (style | WS_CAPTION) : (style & ~WS_CAPTION);
  SetWindowLongA(window, GWL_STYLE, style);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace pelorin::win
