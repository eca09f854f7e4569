#pragma once

#include <string>

#include "UninstallRun.h"

namespace pelorin {

// The removal's questions answered without a person at the screen: the removal goes ahead,
// shared system files are kept, since another program may use them, and an editor that does
// not end stops it. Shows nothing.
class QuietUninstallUi : public UninstallUi {
 public:
  void Tell(const std::string&) override {}
  void Show() override {}
  void ShowStatus(const std::string&) override {}
  void ShowProgress(std::size_t, std::size_t) override {}
  bool Ask(const std::string&, const std::string& caption) override { return caption == kConfirmCaption; }
  bool AskRetry(const std::string&) override { return false; }
};

}  // namespace pelorin
