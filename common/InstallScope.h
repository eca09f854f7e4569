#pragma once

#include "Str.h"

#include "FileSystem.h"
#include "Registry.h"

namespace pelorin {

// Who an install is for: every user of the machine (Program Files, HKEY_LOCAL_MACHINE, the
// Start Menu of all users; administrator rights needed), or the running account alone (its
// own local application data, HKEY_CURRENT_USER, its own Start Menu; no rights beyond its own).
enum class InstallScope { kMachine, kUser };

// The scope switches: none, /ALLUSERS or /CURRENTUSER.
enum class ScopeSwitch { kNone, kAllUsers, kCurrentUser };

// What decides the scope of a setup run.
struct ScopeFacts {
  bool administrator = false;  // the account is an administrator, elevated now or able to be
  bool quiet = false;          // /S
  ScopeSwitch scopeSwitch = ScopeSwitch::kNone;
  bool machineInstall = false;  // an earlier install registered for every user is in place
  bool userInstall = false;     // one registered for this account alone is in place
};

struct ScopeChoice {
  InstallScope scope = InstallScope::kMachine;
  bool offered = false;  // the wizard offers both, this one chosen first
};

// A switch decides. Else an upgrade stays in the scope of the one earlier install in place
// (with one in each, a quiet run keeps the install for every user, as before scopes). Else a
// quiet run installs for every user, as before scopes, and the wizard proposes the install
// for every user to an administrator and the one for the account alone to anyone else.
ScopeChoice ChooseScope(const ScopeFacts& facts);

// Whether a run for `scope` must first start itself again with administrator rights: only
// for every user, and only when it lacks them. A run for one account never asks for them.
inline bool NeedsElevation(InstallScope scope, bool elevated) { return scope == InstallScope::kMachine && !elevated; }

// Where the scope keeps the removal registration.
inline RegistryRoot RegistrationRoot(InstallScope scope) {
  return scope == InstallScope::kUser ? RegistryRoot::kCurrentUser : RegistryRoot::kLocalMachine;
}

// The folder of the install that the scope's registration names, when it still holds the
// install log; empty when there is none. No trailing backslash, but for a drive's root.
String RegisteredInstallFolder(FileSystem& files, Registry& registry, const String& appName,
                                    InstallScope scope);

// The scope of the install in `installFolder`, as its own registration tells: for the account
// alone where the account's registration names this folder, else for every user, as every
// install was before scopes.
InstallScope ScopeOfInstall(Registry& registry, const String& appName, const String& installFolder);

}  // namespace pelorin
