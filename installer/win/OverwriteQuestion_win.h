#pragma once

#include <windows.h>

#include "FilePack.h"
#include "MessageBox_win.h"

namespace pelorin::win {

// Asks the older-file question in a message box with Yes and No.
class OverwriteQuestion : public PackUi {
 public:
  bool ConfirmOverwriteOlder(const String& newText, const String& oldText) override {
    return ShowMessageBox(GetActiveWindow(), OverwriteOlderQuestion(newText, oldText), kOverwriteOlderTitle,
                          MB_YESNO) == IDYES;
  }
};

}  // namespace pelorin::win
