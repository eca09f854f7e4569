#pragma once

#include <windows.h>

#include "Str.h"

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

// The same for a control that shows or takes a path, made by the wide call: an edit control
// made by the ANSI call keeps its text in the ANSI code page, losing what that cannot hold.
HWND CreatePathControl(HWND parent, const wchar_t* className, const String& text, DWORD style, int x, int y,
                       int width, int height, int id, HFONT font = nullptr, DWORD exStyle = 0);

// A control's text as UTF-8, and back; a text with no exact conversion reads as empty.
String ControlText(HWND control);
void SetControlText(HWND control, const String& text);

// Paints what is due in the window and its children at once, as UpdateWindow does, through
// the call the programs import anyway.
inline void UpdateNow(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

}  // namespace pelorin::win
