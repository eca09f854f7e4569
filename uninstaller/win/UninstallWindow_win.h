#pragma once

#include <windows.h>

#include "ScaledWindow_win.h"
#include "UninstallRun.h"

namespace pelorin::win {

// "Uninstalling...": the uninstaller's one window, which shows the removal's progress and
// asks its questions. The removal cannot be stopped half way, so the window does not close.
class UninstallWindow : public ScaledWindow, public UninstallUi {
 public:
  // Control identifiers, for tests that read the window.
  static constexpr int kPictureId = 100;
  static constexpr int kTitleId = 101;
  static constexpr int kStatusId = 102;
  static constexpr int kBarId = 103;

  bool Open();

  void Tell(std::string_view text) override;
  void Show() override;
  void ShowStatus(std::string_view text) override;
  void ShowProgress(std::size_t index, std::size_t count) override;
  bool Ask(std::string_view text, std::string_view caption) override;
  bool AskRetry(std::string_view text) override;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void DrawBar(const DRAWITEMSTRUCT& item) const;
  int Message(std::string_view text, std::string_view caption, UINT type) const;

  HWND bar_ = nullptr;
  HWND status_ = nullptr;
  std::size_t done_ = 0, count_ = 0;  // the entries handled so far, of how many (0: none yet)
};

}  // namespace pelorin::win
