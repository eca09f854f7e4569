#include "Window_win.h"
#include "WideText_win.h"

namespace pelorin::win {

Window::~Window() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::RegisterWindowClass(const char* className, UINT style, HCURSOR cursor, HICON icon) {
  WNDCLASSA windowClass{};
  windowClass.style = style;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = cursor;
  windowClass.hIcon = icon;
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
}

HWND Window::Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                    int y, int width, int height, HWND parent, int id) {
  return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), this);
}

HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                   int width, int height, int id, HFONT font, DWORD exStyle) {
  HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr && font != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    const LRESULT result = window->OnMessage(message, wParam, lParam);
    window->hwnd_ = nullptr;
    return result;
  }
  return window->OnMessage(message, wParam, lParam);
}

HWND CreatePathControl(HWND parent, const wchar_t* className, const String& text, DWORD style, int x, int y,
                       int width, int height, int id, HFONT font, DWORD exStyle) {
  HWND control = CreateWindowExW(exStyle, className, Wide(text).c_str(), WS_CHILD | style, x, y, width, height,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr && font != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

String ControlText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

void SetControlText(HWND control, const String& text) { SetWindowTextW(control, Wide(text).c_str()); }

}  // namespace pelorin::win
