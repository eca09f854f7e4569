#include "ScaledWindow_win.h"

#include "Dpi_win.h"

namespace pelorin::win {

void ScaledWindow::StartScale() {
  dpi_ = WindowDpi(nullptr);
  font_ = GdiObject<HFONT>(CreateDialogFont(dpi_));
}

LRESULT ScaledWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kDpiChangedMessage) return Window::OnMessage(message, wParam, lParam);
  const int dpi = LOWORD(wParam);
  GdiObject<HFONT> font(CreateDialogFont(dpi));
  RescaleWindow(Handle(), dpi_, dpi, font.Get(), *reinterpret_cast<const RECT*>(lParam));
  // The old font goes once the children hold the new one.
  font_ = std::move(font);
  dpi_ = dpi;
  return 0;
}

}  // namespace pelorin::win
