#include "InstallFolder.h"

#include "InstallRecord.h"

namespace pelorin {

std::string ProposedInstallPath(FileSystem& files, Registry& registry, const SetupInfo& info) {
  if (info.useFixedPath) return info.fixedPath;
  std::string earlier;
  if (registry.ReadKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath(info.appName), "InstallLocation",
                            earlier) &&
      !earlier.empty() && files.FileExists(WithTrailingBackslash(earlier) + kInstallLogName)) {
    // A drive's root keeps its backslash.
    if (earlier.size() > 3 && earlier.back() == '\\') earlier.pop_back();
    return earlier;
  }
  return kDefaultInstallRoot + info.appCompany + "\\" + info.appName;
}

}  // namespace pelorin
