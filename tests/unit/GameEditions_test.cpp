#include "GameEditions.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <algorithm>

#include "MemoryRegistry.h"
#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

class GameEditionsTest : public ::testing::Test {
 protected:
  // Records every shop's edition; a folder becomes a game folder when its program is made.
  void SetUp() override {
    Set32Bit("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 2200", "InstallLocation",
             root_.Path("SteamApp"));
    // Steam writes its own path with forward slashes.
    String steam = root_.Path("Steam");
    std::replace(steam.begin(), steam.end(), '\\', '/');
    registry_.SetKeyValue(RegistryRoot::kCurrentUser, "Software\\Valve\\Steam", "SteamPath", steam + "/");
    Set32Bit("SOFTWARE\\GOG.com\\Games\\1441704920", "PATH", root_.Path("GOG"));
    registry_.SetKeyValue(RegistryRoot::kLocalMachine, kWindowsKey, "ProgramW6432Dir", root_.Path("Programs"));
    registry_.SetKeyValue(RegistryRoot::kLocalMachine, kWindowsKey, "ProgramFilesDir", root_.Path("Programs32"));
  }

  void Set32Bit(const String& key, const String& name, const String& value) {
    registry_.SetKeyValue(RegistryRoot::kLocalMachine, MemoryRegistry::k32BitView + key, name, value);
  }

  String Slashed(const String& path) {
    String tidy = path;
    std::replace(tidy.begin(), tidy.end(), '/', '\\');
    return tidy;
  }

  testing::TempFolder root_;
  testing::FaultyFileSystem files_;
  MemoryRegistry registry_;
};

TEST_F(GameEditionsTest, SteamThenItsLibraryThenGogThenTheStoreFirstGameFolderWins) {
  const std::vector<String> expected = {
      Slashed(root_.Path("SteamApp")), Slashed(root_.Path("Steam\\steamapps\\common\\Quake 3 Arena")),
      Slashed(root_.Path("GOG")), Slashed(root_.Path("Programs\\ModifiableWindowsApps\\Quake 3\\EN"))};
  EXPECT_EQ(EditionFolders(registry_), expected);
  EXPECT_EQ(FindInstalledEdition(registry_, files_), "");

  const char* programs[] = {"Programs\\ModifiableWindowsApps\\Quake 3\\EN\\quake3.exe", "GOG\\quake3.exe",
                            "Steam\\steamapps\\common\\Quake 3 Arena\\quake3.exe", "SteamApp\\ioquake3.x86_64.exe"};
  for (int i = 0; i < 4; ++i) {
    root_.Write(programs[i], "");
    EXPECT_EQ(FindInstalledEdition(registry_, files_), expected[3 - i]) << programs[i];
  }
}

TEST_F(GameEditionsTest, ShopEntriesAreReadFromThe32BitViewAndA32BitSystemHasOneProgramFiles) {
  MemoryRegistry registry;
  registry.SetKeyValue(RegistryRoot::kLocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 2200",
                       "InstallLocation", root_.Path("SteamApp"));
  registry.SetKeyValue(RegistryRoot::kLocalMachine, "SOFTWARE\\GOG.com\\Games\\1441704920", "PATH", root_.Path("GOG"));
  registry.SetKeyValue(RegistryRoot::kLocalMachine, kWindowsKey, "ProgramFilesDir", "C:\\Program Files\\");
  EXPECT_EQ(EditionFolders(registry),
            std::vector<String>{"C:\\Program Files\\ModifiableWindowsApps\\Quake 3\\EN"});
}

}  // namespace
}  // namespace pelorin
