#include "InstallScope.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "InstallRecord.h"
#include "MemoryRegistry.h"
#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

constexpr InstallScope kMachine = InstallScope::kMachine, kUser = InstallScope::kUser;

// Who an install is for, and whether setup asks for administrator rights for it.
TEST(ChooseScope, SwitchThenEarlierInstallThenAccount) {
  const struct {
    const char* what;
    ScopeFacts facts;  // administrator, quiet, switch, machine install, user install
    InstallScope scope;
    bool offered;
  } cases[] = {
      {"an administrator's wizard", {true, false, ScopeSwitch::kNone, false, false}, kMachine, true},
      {"a user's wizard", {false, false, ScopeSwitch::kNone, false, false}, kUser, true},
      {"/S alone, as before", {false, true, ScopeSwitch::kNone, false, false}, kMachine, false},
      {"/CURRENTUSER /S by an administrator", {true, true, ScopeSwitch::kCurrentUser, false, false}, kUser, false},
      {"/ALLUSERS by a user", {false, false, ScopeSwitch::kAllUsers, false, false}, kMachine, false},
      {"a switch over an earlier install", {true, true, ScopeSwitch::kCurrentUser, true, false}, kUser, false},
      {"/S upgrades an install for one account", {true, true, ScopeSwitch::kNone, false, true}, kUser, false},
      {"an administrator upgrades a user's", {true, false, ScopeSwitch::kNone, false, true}, kUser, true},
      {"a user upgrades the machine's", {false, false, ScopeSwitch::kNone, true, false}, kMachine, true},
      {"/S with both in place", {false, true, ScopeSwitch::kNone, true, true}, kMachine, false},
      {"a user's wizard with both", {false, false, ScopeSwitch::kNone, true, true}, kUser, true},
  };
  for (const auto& c : cases) {
    const ScopeChoice choice = ChooseScope(c.facts);
    EXPECT_EQ(choice.scope, c.scope) << c.what;
    EXPECT_EQ(choice.offered, c.offered) << c.what;
  }
  EXPECT_TRUE(NeedsElevation(kMachine, false));
  EXPECT_FALSE(NeedsElevation(kMachine, true));
  EXPECT_FALSE(NeedsElevation(kUser, false));
  EXPECT_FALSE(NeedsElevation(kUser, true));
}

// Each scope has its own registration; an install reads its scope from the one naming it.
TEST(ScopeOfInstall, TheRegistrationThatNamesTheFolder) {
  testing::TempFolder temp;
  testing::FaultyFileSystem files;
  MemoryRegistry registry;
  const String key = UninstallKeyPath("Pelorin");
  const String mine = temp.Path("Mine"), machine = temp.Path("Machine");
  temp.Write("Mine\\install.log", "Pelorin\r\n");
  registry.SetKeyValue(RegistryRoot::kCurrentUser, key, "InstallLocation", mine + "\\");
  registry.SetKeyValue(RegistryRoot::kLocalMachine, key, "InstallLocation", machine);
  EXPECT_EQ(ScopeOfInstall(registry, "Pelorin", mine), kUser);
  EXPECT_EQ(ScopeOfInstall(registry, "Pelorin", machine), kMachine);
  EXPECT_EQ(ScopeOfInstall(registry, "Pelorin", temp.Path("Other")), kMachine);
  EXPECT_EQ(RegisteredInstallFolder(files, registry, "Pelorin", kUser), mine);
  // A registration whose folder holds no log is no install.
  EXPECT_EQ(RegisteredInstallFolder(files, registry, "Pelorin", kMachine), "");
}

}  // namespace
}  // namespace pelorin
