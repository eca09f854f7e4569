#pragma once

#include <windows.h>

namespace pelorin::win {

// A modal dialog from a resource template, bound to its C++ object at WM_INITDIALOG.
class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog() = default;

 protected:
  INT_PTR RunModal(int templateId, HWND owner);
  HWND Handle() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  void End(INT_PTR result) { EndDialog(hwnd_, result); }
  // Places a control by twips of the client area (15 twips to a pixel).
  void PlaceTwips(int id, int left, int top, int width, int height);
  void SetClientTwips(int width, int height);

  virtual void OnInit() {}
  virtual void OnCommand(int id, int notification) = 0;
  // Other messages; return TRUE when handled, with the result in `result`.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

}  // namespace pelorin::win
