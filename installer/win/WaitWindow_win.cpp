#include "WaitWindow_win.h"

#include "resource.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinSetupWait";
constexpr int kWidth = 300;
constexpr int kHeight = 90;

}  // namespace

bool WaitWindow::Open() {
  icon_ = LoadIconA(GetModuleHandleW(nullptr), MAKEINTRESOURCEA(IDI_SETUP));
  RegisterWindowClass(kClassName, 0, LoadCursor(nullptr, IDC_WAIT), icon_);
  if (!CreateCentred(WS_EX_TOOLWINDOW, kClassName, "Please Wait...", WS_POPUP | WS_CAPTION, kWidth, kHeight, false))
    return false;
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateNow(Handle());
  return true;
}

LRESULT WaitWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return ScaledWindow::OnMessage(message, wParam, lParam);
  PaintContext paint(Handle());
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(paint.Dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(paint.Dc(), TRANSPARENT);
  Selection font(paint.Dc(), font_.Get());
  DrawTextA(paint.Dc(), "Unpacking Files required for Setup...", -1, &client,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  return 0;
}

}  // namespace pelorin::win
