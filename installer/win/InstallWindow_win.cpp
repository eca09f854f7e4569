#include "InstallWindow_win.h"

#include "MessageBox_win.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinSetupProgress";
constexpr char kMessageTitle[] = "Setup";
// At 96 DPI; the window is laid out at the system's DPI.
constexpr int kWidth = 360;
constexpr int kHeight = 100;
constexpr RECT kBar{12, 36, kWidth - 12, 56};
enum ControlId : int { kStatusId = 100, kPercentId };

// The status names files by path, in any script.
void SetTextIfChanged(HWND control, const String& text) {
  if (text == ControlText(control)) return;
  SetControlText(control, text);
  UpdateNow(control);
}

// Paints what is due at once. Only paint messages are taken: the install goes on inside one
// event, and input waits until it is over.
void PaintNow(HWND window) {
  MSG message;
  while (PeekMessageW(&message, window, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&message);
}

}  // namespace

bool InstallWindow::Open(HICON icon) {
  RegisterWindowClass(kClassName, 0, LoadCursor(nullptr, IDC_WAIT), icon);
  if (!CreateCentred(0, kClassName, kInstallingCaption, WS_OVERLAPPED | WS_CAPTION, kWidth, kHeight, true))
    return false;
  status_ = CreateControl(Handle(), "STATIC", "Installing", WS_VISIBLE, At(12), At(12), At(kWidth - 24), At(16),
                          kStatusId, font_.Get());
  percent_ = CreateControl(Handle(), "STATIC", "", WS_VISIBLE, At(12), At(66), At(kWidth - 24), At(16), kPercentId,
                           font_.Get());
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateNow(Handle());
  return true;
}

void InstallWindow::ShowProgress(const String& percentText, const String& statusText) {
  SetTextIfChanged(percent_, percentText);
  SetTextIfChanged(status_, statusText);
  PaintNow(Handle());
}

void InstallWindow::ShowBar(std::size_t done, std::size_t total) {
  done_ = done;
  total_ = total;
  HDC dc = GetDC(Handle());
  if (dc == nullptr) return;
  PaintBar(dc);
  ReleaseDC(Handle(), dc);
  PaintNow(Handle());
}

void InstallWindow::ShowCaption(const String& caption) {
  SetControlText(Handle(), caption);
  PaintNow(Handle());
}

void InstallWindow::ShowMessage(const String& text, bool problem) {
  Ask(text, MB_OK | (problem ? MB_ICONEXCLAMATION : 0));
}

bool InstallWindow::AskRetry(const String& text) { return Ask(text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY; }

bool InstallWindow::AskYesNo(const String& text) { return Ask(text, MB_YESNO | MB_ICONQUESTION) == IDYES; }

int InstallWindow::Ask(const String& text, UINT type) {
  return ShowMessageBox(Handle(), text, kMessageTitle, type);
}

void InstallWindow::PaintBar(HDC dc) {
  RECT bar{At(kBar.left), At(kBar.top), At(kBar.right), At(kBar.bottom)};
  DrawEdge(dc, &bar, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &bar, GetSysColorBrush(COLOR_WINDOW));
  if (total_ == 0) return;
  bar.right = bar.left + static_cast<LONG>((bar.right - bar.left) * done_ / total_);
  FillRect(dc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
}

LRESULT InstallWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      PaintContext paint(Handle());
      PaintBar(paint.Dc());
      return 0;
    }
    case WM_CLOSE:  // the installation cannot be cancelled halfway
      return 0;
    default:
      return ScaledWindow::OnMessage(message, wParam, lParam);
  }
}

}  // namespace pelorin::win
