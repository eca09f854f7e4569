#pragma once

#include <windows.h>

#include "DisplayScale.h"
#include "GdiObject_win.h"
#include "Window_win.h"

namespace pelorin::win {

// A window of setup or the uninstaller laid out at its monitor's DPI, with the dialog font at
// that DPI. Moved to a monitor of another DPI, it lays its children out again and gives them a
// font made anew.
class ScaledWindow : public Window {
 protected:
  // Takes the DPI a new window opens at (the system's), makes the font for it and creates the
  // window centred on the screen, `width` by `height` at 96 DPI: its client area where
  // `addFrame`, else the whole window.
  bool CreateCentred(DWORD exStyle, const char* className, const char* title, DWORD style, int width, int height,
                     bool addFrame);
  // A length at 96 DPI, at the window's DPI.
  int At(int length) const { return ScaleToDpi(length, dpi_); }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  int dpi_ = 96;
  GdiObject<HFONT> font_;
};

}  // namespace pelorin::win
