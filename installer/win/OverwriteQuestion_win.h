#pragma once

#include <windows.h>

#include "FilePack.h"

namespace pelorin::win {

// Asks the older-file question in a message box with Yes and No.
class OverwriteQuestion : public PackUi {
 public:
  bool ConfirmOverwriteOlder(const std::string& newText, const std::string& oldText) override {
    return MessageBoxA(GetActiveWindow(), OverwriteOlderQuestion(newText, oldText).c_str(),
                       kOverwriteOlderTitle, MB_YESNO) == IDYES;
  }
};

}  // namespace pelorin::win
