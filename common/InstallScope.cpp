#include "InstallScope.h"

#include "InstallRecord.h"
#include "ItemNames.h"

namespace pelorin {

namespace {

String WithoutTrailingBackslash(String folder) {
  // A drive's root keeps its backslash.
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace

ScopeChoice ChooseScope(const ScopeFacts& facts) {
  if (facts.scopeSwitch != ScopeSwitch::kNone)
    return {facts.scopeSwitch == ScopeSwitch::kCurrentUser ? InstallScope::kUser : InstallScope::kMachine, false};
  InstallScope scope = facts.administrator || facts.quiet ? InstallScope::kMachine : InstallScope::kUser;
  if (facts.machineInstall != facts.userInstall) scope = facts.userInstall ? InstallScope::kUser : InstallScope::kMachine;
  return {scope, !facts.quiet};
}

String RegisteredInstallFolder(FileSystem& files, Registry& registry, const String& appName,
                                    InstallScope scope) {
  String folder;
  if (!registry.ReadKeyValue(RegistrationRoot(scope), UninstallKeyPath(appName), "InstallLocation", folder) ||
      folder.empty() || !files.FileExists(WithTrailingBackslash(folder) + kInstallLogName))
    return {};
  return WithoutTrailingBackslash(folder);
}

InstallScope ScopeOfInstall(Registry& registry, const String& appName, const String& installFolder) {
  String folder;
  if (registry.ReadKeyValue(RegistryRoot::kCurrentUser, UninstallKeyPath(appName), "InstallLocation", folder) &&
      !folder.empty() && SameFileName(WithTrailingBackslash(folder), WithTrailingBackslash(installFolder)))
    return InstallScope::kUser;
  return InstallScope::kMachine;
}

}  // namespace pelorin
