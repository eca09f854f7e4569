#include "UninstallWindow_win.h"

#include <iterator>

#include "MessageBox_win.h"
#include "resource.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinUninstall";
constexpr char kProgramTitle[] = "Uninstall";

// Client-area layout in pixels at 96 DPI (15 twips each), scaled to the monitor's DPI.
constexpr int kMargin = 8;
constexpr int kIconSize = 32;
constexpr int kTextLeft = kMargin + kIconSize + 8;
constexpr int kBarTop = 64;
constexpr int kBarWidth = 313;
constexpr int kBarHeight = 17;
constexpr int kClientWidth = kMargin + kBarWidth + kMargin;
constexpr int kClientHeight = kBarTop + kBarHeight + kMargin;

struct ControlPlace {
  const char* text;
  DWORD style, exStyle;
  int left, top, width, height;
};
// In the order of their identifiers, from UninstallWindow::kPictureId on. The picture fits
// the icon to its size, also after a move to a monitor of another DPI.
constexpr ControlPlace kControls[] = {
    {"", SS_ICON | SS_REALSIZECONTROL, 0, kMargin, kMargin, kIconSize, kIconSize},
    {"Uninstalling", SS_LEFTNOWORDWRAP, 0, kTextLeft, kMargin, kClientWidth - kTextLeft - kMargin, 16},
    {"", SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS, 0, kTextLeft, kMargin + 24, kClientWidth - kTextLeft - kMargin, 16},
    {"", SS_OWNERDRAW, WS_EX_STATICEDGE, kMargin, kBarTop, kBarWidth, kBarHeight},
};

}  // namespace

bool UninstallWindow::Open() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
  RegisterWindowClass(kClassName, 0, LoadCursor(nullptr, IDC_ARROW), icon);
  if (!CreateCentred(0, kClassName, "Uninstalling...", WS_POPUP | WS_CAPTION | WS_SYSMENU, kClientWidth,
                     kClientHeight, true))
    return false;

  // The removal cannot be stopped half way; WM_CLOSE is ignored too.
  EnableMenuItem(GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  HWND control[std::size(kControls)];
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    const ControlPlace& c = kControls[i];
    control[i] = CreateControl(Handle(), "STATIC", c.text, WS_VISIBLE | c.style, At(c.left), At(c.top), At(c.width),
                               At(c.height), kPictureId + static_cast<int>(i), font_.Get(), c.exStyle);
    if (control[i] == nullptr) return false;
  }
  SendMessageA(control[0], STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  status_ = control[kStatusId - kPictureId];
  bar_ = control[kBarId - kPictureId];
  return true;
}

int UninstallWindow::Message(std::string_view text, std::string_view caption, UINT type) const {
  return ShowMessageBox(Handle(), String(text), String(caption), type);
}

void UninstallWindow::Tell(std::string_view text) { Message(text, kProgramTitle, MB_OK); }

void UninstallWindow::Show() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateNow(Handle());
}

void UninstallWindow::ShowStatus(std::string_view text) {
  SetControlText(status_, String(text));
  UpdateNow(Handle());
}

void UninstallWindow::ShowProgress(std::size_t index, std::size_t count) {
  done_ = index;
  count_ = count;
  // The removal runs without a message loop, so the bar is drawn at once.
  InvalidateRect(bar_, nullptr, FALSE);
  UpdateNow(bar_);
}

bool UninstallWindow::Ask(std::string_view text, std::string_view caption) {
  return Message(text, caption, MB_YESNO) == IDYES;
}

bool UninstallWindow::AskRetry(std::string_view text) {
  return Message(text, kProgramTitle, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
}

void UninstallWindow::DrawBar(const DRAWITEMSTRUCT& item) const {
  RECT done = item.rcItem;
  done.right = done.left + (count_ != 0 ? BarFill(done_, count_, done.right - done.left) : 0);
  RECT rest = item.rcItem;
  rest.left = done.right;
  FillRect(item.hDC, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
  FillRect(item.hDC, &rest, GetSysColorBrush(COLOR_WINDOW));
}

LRESULT UninstallWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      return 0;
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
  // Moved to a monitor of another DPI (shown while a question waits, which runs messages). The
  // statics get the button face from the default handling.
  return ScaledWindow::OnMessage(message, wParam, lParam);
}

}  // namespace pelorin::win
