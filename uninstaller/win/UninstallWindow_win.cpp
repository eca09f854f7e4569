#include "UninstallWindow_win.h"
#include "MessageBox_win.h"
#include "resource.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinUninstall";
constexpr char kProgramTitle[] = "Uninstall";

// Client-area layout in pixels (15 twips each).
constexpr int kMargin = 8;
constexpr int kIconSize = 32;
constexpr int kTextLeft = kMargin + kIconSize + 8;
constexpr int kBarTop = 64;
constexpr int kBarWidth = 313;
constexpr int kBarHeight = 17;
constexpr int kClientWidth = kMargin + kBarWidth + kMargin;
constexpr int kClientHeight = kBarTop + kBarHeight + kMargin;

}  // namespace

bool UninstallWindow::Open() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
  RegisterWindowClass(kClassName, 0, LoadCursor(nullptr, IDC_ARROW), icon);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (!Create(0, kClassName, "Uninstalling...", style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
              (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr))
    return false;

  // The removal cannot be stopped half way; WM_CLOSE is ignored too.
  EnableMenuItem(GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND picture = CreateControl(Handle(), "STATIC", "", WS_VISIBLE | SS_ICON, kMargin, kMargin,
                               kIconSize, kIconSize, kPictureId);
  SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  CreateControl(Handle(), "STATIC", "Uninstalling", WS_VISIBLE | SS_LEFTNOWORDWRAP, kTextLeft, kMargin,
                kClientWidth - kTextLeft - kMargin, 16, kTitleId, font);
  status_ = CreateControl(Handle(), "STATIC", "", WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS,
                          kTextLeft, kMargin + 24, kClientWidth - kTextLeft - kMargin, 16, kStatusId, font);
  bar_ = CreateControl(Handle(), "STATIC", "", WS_VISIBLE | SS_OWNERDRAW, kMargin, kBarTop, kBarWidth,
                       kBarHeight, kBarId, nullptr, WS_EX_STATICEDGE);
  return status_ != nullptr && bar_ != nullptr;
}

void UninstallWindow::Tell(const std::string& text) {
  ShowMessageBox(Handle(), text, kProgramTitle, MB_OK);
}

void UninstallWindow::Show() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(Handle());
}

void UninstallWindow::ShowStatus(const std::string& text) {
  SetControlText(status_, text);
  UpdateWindow(Handle());
}

void UninstallWindow::ShowProgress(std::size_t index, std::size_t count) {
  RECT inside;
  GetClientRect(bar_, &inside);
  barFill_ = BarFill(index, count, inside.right);
  // The removal runs without a message loop, so the bar is drawn at once.
  InvalidateRect(bar_, nullptr, FALSE);
  UpdateWindow(bar_);
}

bool UninstallWindow::Ask(const std::string& text, const std::string& caption) {
  return ShowMessageBox(Handle(), text, caption, MB_YESNO) == IDYES;
}

bool UninstallWindow::AskRetry(const std::string& text) {
  return ShowMessageBox(Handle(), text, kProgramTitle, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
}

void UninstallWindow::DrawBar(const DRAWITEMSTRUCT& item) const {
  RECT done = item.rcItem;
  done.right = done.left + barFill_;
  RECT rest = item.rcItem;
  rest.left = done.right;
  FillRect(item.hDC, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
  FillRect(item.hDC, &rest, GetSysColorBrush(COLOR_WINDOW));
}

LRESULT UninstallWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != kBarId) break;
      DrawBar(*item);
      return TRUE;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace pelorin::win
