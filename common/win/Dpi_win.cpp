#include "Dpi_win.h"

#include "GdiObject_win.h"

namespace pelorin::win {

namespace {

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int WindowDpi(HWND window) {
  // Looked up, not imported: Windows 7 and 8 lack it and would not start the program.
  using DpiFunction = UINT(WINAPI*)(HWND);
  const auto dpiForWindow = reinterpret_cast<DpiFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const int dpi = dpiForWindow != nullptr && window != nullptr ? static_cast<int>(dpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

HFONT CreateDialogFont(int dpi) {
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  font.lfHeight = -MulDiv(8, dpi, 72);
  font.lfWidth = 0;
  return CreateFontIndirectW(&font);
}

HFONT CreateMessageFont(int dpi) {
  // The metrics come at the system's DPI; the window's may differ on another monitor.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

void RescaleWindow(HWND window, int fromDpi, int toDpi, HFONT font, const RECT& suggested) {
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPos(child, nullptr, MulDiv(place.left, toDpi, fromDpi), MulDiv(place.top, toDpi, fromDpi),
                 MulDiv(place.right - place.left, toDpi, fromDpi), MulDiv(place.bottom - place.top, toDpi, fromDpi),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FrameBox(HDC dc, const RECT& box, int thickness, COLORREF colour) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  const RECT sides[4] = {{box.left, box.top, box.right, box.top + thickness},
                         {box.left, box.bottom - thickness, box.right, box.bottom},
                         {box.left, box.top, box.left + thickness, box.bottom},
                         {box.right - thickness, box.top, box.right, box.bottom}};
  for (const RECT& side : sides) FillRect(dc, &side, brush.Get());
}

}  // namespace pelorin::win
