#pragma once

#include <string_view>

#include "UninstallRun.h"

namespace pelorin {

// The removal's questions answered without a person at the screen: the removal goes ahead,
// shared system files are kept, since another program may use them, and an editor that does
// not end stops it. Shows nothing.
class QuietUninstallUi : public UninstallUi {
 public:
  void Tell(std::string_view) override {}
  void Show() override {}
  void ShowStatus(std::string_view) override {}
  void ShowProgress(std::size_t, std::size_t) override {}
  bool Ask(std::string_view, std::string_view caption) override { return caption == kConfirmCaption; }
  bool AskRetry(std::string_view) override { return false; }
};

}  // namespace pelorin
