#pragma once

#include <string>

#include "CommandLine.h"
#include "InstallEngine.h"

namespace pelorin {

// The install engine's questions answered without a person at the screen: a newer existing
// file is kept, an earlier install elsewhere is removed, and nothing is shown; the engine's result says what went wrong.
class QuietInstallUi : public InstallUi {
 public:
  bool ConfirmOverwriteOlder(const std::string&, const std::string&) override { return false; }
  void ShowProgress(const std::string&, const std::string&) override {}
  void ShowBar(std::size_t, std::size_t) override {}
  void ShowCaption(const std::string&) override {}
  void ShowMessage(const std::string&, bool) override {}
  bool AskRetry(const std::string&) override { return false; }
  // An earlier install in another folder is removed by its own quiet removal.
  bool AskYesNo(const std::string&) override { return true; }
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
