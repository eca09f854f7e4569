#include "Startup.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "MemoryRegistry.h"

namespace pelorin {
namespace {

TEST(Startup, UninstallArgumentInAnyLetterCase) {
  EXPECT_TRUE(IsUninstallStart("uninstall"));
  EXPECT_TRUE(IsUninstallStart("UNINSTALL"));
  EXPECT_TRUE(IsUninstallStart("UnInstall"));
  EXPECT_FALSE(IsUninstallStart(""));
  EXPECT_FALSE(IsUninstallStart("uninstall now"));
  EXPECT_FALSE(IsUninstallStart("/uninstall"));
}

TEST(Startup, RegistersUnderTheMakersKeyAndRemovesIt) {
  MemoryRegistry registry;
  EXPECT_EQ(VersionText(1, 2, 16), "1.2.16");
  RegisterProgram(registry, "Pelorin", "C:\\Program Files\\Pelorin\\Pelorin.exe", VersionText(1, 2, 16));
  const auto* values = registry.Key(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater\\Pelorin");
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(values->at(""), "C:\\Program Files\\Pelorin\\Pelorin.exe");
  EXPECT_EQ(values->at("Version"), "1.2.16");

  // The maker's key goes with the last product's key, and not before.
  registry.SetKeyValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater", "", "");
  registry.DeleteKeyValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater", "");
  registry.SetKeyValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater\\Other", "", "x");
  UnregisterProgram(registry, "Pelorin");
  EXPECT_FALSE(registry.HasKey(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater\\Pelorin"));
  EXPECT_TRUE(registry.HasKey(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater"));
  UnregisterProgram(registry, "Other");
  EXPECT_FALSE(registry.HasKey(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater"));
}

}  // namespace
}  // namespace pelorin
