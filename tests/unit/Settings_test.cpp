#include "Settings.h"

#include <gtest/gtest.h>

#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

using Names = std::vector<std::string>;

TEST(Settings, ReadsPositionalLines) {
  const EditorSettings full = ParseSettings("C:\\Quake3\\\r\n^1Neo\r\na\r\n\r\nb\r\nc\r\nd\r\ne\r\n");
  EXPECT_EQ(full.gameFolder, "C:\\Quake3\\");
  EXPECT_EQ(full.lastSavedName, "^1Neo");
  EXPECT_EQ(full.history, (Names{"a", "b", "c"}));  // empty line skipped, nothing after line 6

  const EditorSettings onlyFolder = ParseSettings("C:\\Games\\Quake3\r\n");
  EXPECT_EQ(onlyFolder.gameFolder, "C:\\Games\\Quake3");
  EXPECT_EQ(onlyFolder.lastSavedName, "");
  EXPECT_TRUE(onlyFolder.history.empty());

  // An empty first line means the game folder is not known yet.
  EXPECT_EQ(ParseSettings("\r\nName\r\n").gameFolder, "");
  EXPECT_EQ(ParseSettings("").gameFolder, "");
}

TEST(Settings, WritesEveryValueOnItsOwnCrLfLine) {
  EditorSettings settings{"C:\\Quake3\\", "^1Neo", {"^1Neo", "x"}};
  EXPECT_EQ(FormatSettings(settings), "C:\\Quake3\\\r\n^1Neo\r\n^1Neo\r\nx\r\n");
  EXPECT_EQ(FormatSettings({}), "\r\n\r\n");
  EXPECT_EQ(ParseSettings(FormatSettings(settings)).history, settings.history);
}

TEST(Settings, StoringReplacesTheFileAndKeepsItWhenTheReplaceFails) {
  testing::TempFolder folder;
  testing::FaultyFileSystem files;
  const std::string path = SettingsPath(folder.Path());
  EXPECT_EQ(path, folder.Path() + "\\settings.ini");

  EXPECT_FALSE(StoreSettings(files, path, {"C:\\Q3", "n", {"n"}}));
  EXPECT_EQ(folder.Read("settings.ini"), "C:\\Q3\r\nn\r\nn\r\n");
  EXPECT_EQ(LoadSettings(files, path).lastSavedName, "n");

  files.readOnlyFiles.insert(path);
  EXPECT_TRUE(StoreSettings(files, path, {"D:\\Other", "", {}}));
  EXPECT_EQ(folder.Read("settings.ini"), "C:\\Q3\r\nn\r\nn\r\n");
  EXPECT_FALSE(folder.Exists("settings.ini.tmp"));

  files.readOnlyFiles.clear();
  files.diskFull = true;
  EXPECT_TRUE(StoreSettings(files, path, {"D:\\Other", "", {}}));
  EXPECT_EQ(folder.Read("settings.ini"), "C:\\Q3\r\nn\r\nn\r\n");
  EXPECT_FALSE(folder.Exists("settings.ini.tmp"));
}

TEST(Settings, MissingFileLoadsAsFirstRun) {
  testing::TempFolder folder;
  testing::FaultyFileSystem files;
  const EditorSettings settings = LoadSettings(files, folder.Path("settings.ini"));
  EXPECT_EQ(settings.gameFolder, "");
  EXPECT_TRUE(settings.history.empty());
}

}  // namespace
}  // namespace pelorin
