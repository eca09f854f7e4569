#pragma once

#include <windows.h>

#include <string>

#include "InstallEngine.h"
#include "OverwriteQuestion_win.h"
#include "ScaledWindow_win.h"

namespace pelorin::win {

// "Installing...Please Wait...": shows the install engine's progress and asks its questions.
// The engine runs without a message loop, so every change is painted at once.
class InstallWindow : public ScaledWindow, public InstallUi {
 public:
  bool Open(HICON icon);

  bool ConfirmOverwriteOlder(const std::string& newText, const std::string& oldText) override {
    return question_.ConfirmOverwriteOlder(newText, oldText);
  }
  void ShowProgress(const std::string& percentText, const std::string& statusText) override;
  void ShowBar(std::size_t done, std::size_t total) override;
  void ShowCaption(const std::string& caption) override;
  void ShowMessage(const std::string& text, bool problem) override;
  bool AskRetry(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintBar(HDC dc);
  // A message box of setup's over this window; the button pressed.
  int Ask(const std::string& text, UINT type);

  OverwriteQuestion question_;
  HWND percent_ = nullptr;
  HWND status_ = nullptr;
  std::size_t done_ = 0;
  std::size_t total_ = 0;
};

}  // namespace pelorin::win
