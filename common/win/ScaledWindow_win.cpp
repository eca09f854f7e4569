#include "ScaledWindow_win.h"

#include "Dpi_win.h"

namespace pelorin::win {

bool ScaledWindow::CreateCentred(DWORD exStyle, const char* className, const char* title, DWORD style, int width,
                                 int height, bool addFrame) {
  dpi_ = WindowDpi(nullptr);
  font_ = GdiObject<HFONT>(CreateDialogFont(dpi_));
  RECT frame{0, 0, At(width), At(height)};
  const int left = (GetSystemMetrics(SM_CXSCREEN) - frame.right) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - frame.bottom) / 2;
  if (addFrame) AdjustWindowRect(&frame, style, FALSE);
  return Create(exStyle, className, title, style, left, top, frame.right - frame.left, frame.bottom - frame.top,
                nullptr);
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
