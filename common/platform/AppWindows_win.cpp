#include "AppWindows_win.h"

#include <windows.h>

namespace pelorin {

namespace {

// A window that does not answer within this time is taken as hung; the post below still
// reaches it once it wakes.
constexpr UINT kSendTimeoutMs = 5000;

// Lets this program's own windows handle what arrived meanwhile, such as repaints.
void RunPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

void Win32AppWindows::Close(const std::string& title) {
  HWND window = FindWindowA(nullptr, title.c_str());
  if (window == nullptr) return;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
  RunPendingMessages();
  // A program that only takes the close request from its queue gets it there too.
  PostMessageA(window, WM_CLOSE, 0, 0);
  RunPendingMessages();
}

bool Win32AppWindows::IsOpen(const std::string& title) {
  return FindWindowA(nullptr, title.c_str()) != nullptr;
}

void Win32AppWindows::Pause(unsigned long milliseconds) {
  RunPendingMessages();
  Sleep(milliseconds);
  RunPendingMessages();
}

}  // namespace pelorin
