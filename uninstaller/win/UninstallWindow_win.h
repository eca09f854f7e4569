#pragma once

#include <windows.h>

#include "GdiObject_win.h"
#include "UninstallRun.h"
#include "Window_win.h"

namespace pelorin::win {

// "Uninstalling...": the uninstaller's one window, which shows the removal's progress and
// asks its questions. The removal cannot be stopped half way, so the window does not close.
class UninstallWindow : public Window, public UninstallUi {
 public:
  // Control identifiers, for tests that read the window.
  static constexpr int kPictureId = 100;
  static constexpr int kTitleId = 101;
  static constexpr int kStatusId = 102;
  static constexpr int kBarId = 103;

  bool Open();

  void Tell(const std::string& text) override;
  void Show() override;
  void ShowStatus(const std::string& text) override;
  void ShowProgress(std::size_t index, std::size_t count) override;
  bool Ask(const std::string& text, const std::string& caption) override;
  bool AskRetry(const std::string& text) override;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void DrawBar(const DRAWITEMSTRUCT& item) const;

  HWND bar_ = nullptr;
  HWND status_ = nullptr;
  GdiObject<HFONT> font_;
  int barFill_ = 0;
};

}  // namespace pelorin::win
