#pragma once

#include <windows.h>

namespace pelorin::win {

// A window bound to its C++ object once, at WM_NCCREATE; messages go to OnMessage.
// The object must outlive its window.
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }

 protected:
  // Registers a class whose windows dispatch to their objects; repeated calls are harmless.
  static void RegisterWindowClass(const char* className, UINT style = 0,
                                  HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW),
                                  HICON icon = nullptr);

  HWND Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
              int width, int height, HWND parent, int id = 0);

  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

// Creates a child control (a system class such as "EDIT") and gives it `font` when one is given.
HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                   int width, int height, int id, HFONT font = nullptr, DWORD exStyle = 0);

}  // namespace pelorin::win
