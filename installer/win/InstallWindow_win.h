#pragma once

#include <windows.h>

#include "Str.h"

#include "InstallEngine.h"
#include "OverwriteQuestion_win.h"
#include "ScaledWindow_win.h"

namespace pelorin::win {

// "Installing...Please Wait...": shows the install engine's progress and asks its questions.
// The engine runs without a message loop, so every change is painted at once.
// The engine's interface first: its calls then need no adjusting thunks.
class InstallWindow : public InstallUi, public ScaledWindow {
 public:
  bool Open(HICON icon);

  bool ConfirmOverwriteOlder(const String& newText, const String& oldText) override {
    return question_.ConfirmOverwriteOlder(newText, oldText);
  }
  void ShowProgress(const String& percentText, const String& statusText) override;
  void ShowBar(std::size_t done, std::size_t total) override;
  void ShowCaption(const String& caption) override;
  void ShowMessage(const String& text, bool problem) override;
  bool AskRetry(const String& text) override;
  bool AskYesNo(const String& text) override;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintBar(HDC dc);
  // A message box of setup's over this window; the button pressed.
  int Ask(const String& text, UINT type);

  OverwriteQuestion question_;
  HWND percent_ = nullptr;
  HWND status_ = nullptr;
  std::size_t done_ = 0;
  std::size_t total_ = 0;
};

}  // namespace pelorin::win
