#pragma once

#include <windows.h>

#include "DisplayScale.h"
#include "GdiObject_win.h"
#include "Window_win.h"

namespace pelorin::win {

// A setup window laid out at its monitor's DPI, with the dialog font at that DPI. Moved to a
// monitor of another DPI, it lays its children out again and gives them a font made anew.
class ScaledWindow : public Window {
 protected:
  // The DPI a new window opens at (the system's), and the font for it.
  void StartScale();
  // A length at 96 DPI, at the window's DPI.
  int At(int length) const { return ScaleToDpi(length, dpi_); }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  int dpi_ = 96;
  GdiObject<HFONT> font_;
};

}  // namespace pelorin::win
