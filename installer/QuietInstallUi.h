#pragma once

#include "Str.h"

#include "CommandLine.h"
#include "InstallEngine.h"

namespace pelorin {

// The install engine's questions answered without a person at the screen: a newer existing
// file is kept, an earlier install elsewhere is removed, and nothing is shown; the engine's result says what went wrong.
class QuietInstallUi : public InstallUi {
 public:
  bool ConfirmOverwriteOlder(const String&, const String&) override { return false; }
  void ShowProgress(const String&, const String&) override {}
  void ShowBar(std::size_t, std::size_t) override {}
  void ShowCaption(const String&) override {}
  void ShowMessage(const String&, bool) override {}
  bool AskRetry(const String&) override { return false; }
  // An earlier install in another folder is removed by its own quiet removal.
  bool AskYesNo(const String&) override { return true; }
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
