#include "WizardWindow_win.h"

#include "TextLines.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinSetupWizard";
constexpr int kWidth = 480;
constexpr int kHeight = 330;
// Pages sit beside the side picture, at (2160, 30) twips.
constexpr int kPageLeft = 2160 / 15;
constexpr int kPageTop = 30 / 15;
constexpr int kPageWidth = kWidth - kPageLeft - 8;

enum ControlId : int { kLicenceId = 100, kCompanyId, kReadmeId, kCancelId };

void AppendText(HWND edit, const std::string& text) {
  const int length = GetWindowTextLengthA(edit);
  SendMessageA(edit, EM_SETSEL, length, length);
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

bool WizardWindow::Open(const SetupInfo& info, HICON icon) {
  RegisterWindowClass(kClassName, 0, LoadCursor(nullptr, IDC_ARROW), icon);
  const std::string caption = info.appName + " v" + info.appVersion;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  RECT frame{0, 0, kWidth, kHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&frame, style, FALSE);
  if (!Create(0, kClassName, caption.c_str(), style, left, top, frame.right - frame.left,
              frame.bottom - frame.top, nullptr))
    return false;

  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND hwnd = Handle();
  HFONT font = font_;
  licence_ = CreateControl(hwnd, "EDIT", "", WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                         ES_AUTOVSCROLL, kPageLeft, kPageTop, kPageWidth, 250, kLicenceId, font,
                           WS_EX_CLIENTEDGE);
  const std::string company = "Brought to you by " + info.appCompany;
  CreateControl(hwnd, "STATIC", company.c_str(), WS_VISIBLE, kPageLeft, 262, kPageWidth, 16,
              kCompanyId, font);
  CreateControl(hwnd, "BUTTON", "&Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
              kWidth - 8 - 90, kHeight - 8 - 25, 90, 25, kCancelId, font);
  // The readme belongs to the last page, which this window does not show yet.
  readme_ = CreateControl(hwnd, "EDIT", "", WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                        kPageLeft, kPageTop, kPageWidth, 200, kReadmeId, font, WS_EX_CLIENTEDGE);
  return true;
}

// The file's lines joined by CR LF; false when it cannot be read.
bool WizardWindow::ReadLines(const std::string& path, std::string& joined) {
  std::string text;
  if (!files_.FileExists(path) || files_.ReadFile(path, text)) return false;
  joined.clear();
  for (const std::string& line : SplitLines(text)) {
    if (!joined.empty()) joined += "\r\n";
    joined += line;
  }
  return true;
}

void WizardWindow::LoadLic(const std::string& path) {
  std::string text;
  if (ReadLines(path, text)) AppendText(licence_, text);
}

void WizardWindow::LoadReadme(const std::string& path) {
  std::string text;
  if (ReadLines(path, text)) AppendText(readme_, text);
  else ShowWindow(readme_, SW_HIDE);
}

void WizardWindow::LoadSidePicture(const std::string& path) {
  sidePicture_ = GdiObject<HBITMAP>(static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT WizardWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintContext paint(Handle());
      if (sidePicture_.Get() == nullptr) return 0;
      MemoryDc memory(paint.Dc());
      Selection picture(memory.Get(), sidePicture_.Get());
      BITMAP info{};
      GetObjectA(sidePicture_.Get(), sizeof(info), &info);
      BitBlt(paint.Dc(), 0, 0, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelId) DestroyWindow(Handle());
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == licence_ || reinterpret_cast<HWND>(lParam) == readme_)
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      return Window::OnMessage(message, wParam, lParam);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

}  // namespace pelorin::win
