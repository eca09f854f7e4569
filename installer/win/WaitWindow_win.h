#pragma once

#include <windows.h>

#include "ScaledWindow_win.h"

namespace pelorin::win {

// "Please Wait...": shown while setup unpacks what it needs; it owns the program's icon.
class WaitWindow : public ScaledWindow {
 public:
  bool Open();
  void Hide() { ShowWindow(Handle(), SW_HIDE); }
  HICON Icon() const { return icon_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HICON icon_ = nullptr;
};

}  // namespace pelorin::win
