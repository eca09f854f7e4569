#pragma once

#include <string>

#include "CommandLine.h"
#include "InstallEngine.h"

namespace pelorin {

// The install engine's questions answered without a person at the screen: a newer existing
// file is kept, and nothing is shown; the engine's result says what went wrong.
class QuietInstallUi : public InstallUi {
 public:
  bool ConfirmOverwriteOlder(const std::string&, const std::string&) override { return false; }
  void ShowProgress(const std::string&, const std::string&) override {}
  void ShowBar(std::size_t, std::size_t) override {}
  void ShowCaption(const std::string&) override {}
  void ShowMessage(const std::string&, bool) override {}
  bool AskRetry(const std::string&) override { return false; }
};

// The exit code of a quiet install that ended with `result`.
inline int QuietInstallExitCode(InstallResult result) {
  switch (result) {
    case InstallResult::kInstalled: return kExitDone;
    case InstallResult::kWithFailures: return kExitIncomplete;
    case InstallResult::kStopped:
    case InstallResult::kCancelled: break;
  }
  return kExitStopped;
}

}  // namespace pelorin
