#include "Settings.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <filesystem>

#include "CodePage1252.h"
#include "InstallRecord.h"
#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

using Names = std::vector<String>;

const CodePage1252 kCodePage;

TEST(Settings, ReadsPositionalLines) {
  const EditorSettings full = ParseSettings(kCodePage, "C:\\Quake3\\\r\n^1Neo\r\na\r\n\r\nb\r\nc\r\nd\r\ne\r\n");
  EXPECT_EQ(full.gameFolder, "C:\\Quake3\\");
  EXPECT_EQ(full.lastSavedName, "^1Neo");
  EXPECT_EQ(full.history, (Names{"a", "b", "c"}));  // empty line skipped, nothing after line 6

  const EditorSettings onlyFolder = ParseSettings(kCodePage, "C:\\Games\\Quake3\r\n");
  EXPECT_EQ(onlyFolder.gameFolder, "C:\\Games\\Quake3");
  EXPECT_EQ(onlyFolder.lastSavedName, "");
  EXPECT_TRUE(onlyFolder.history.empty());

  // An empty first line means the game folder is not known yet.
  EXPECT_EQ(ParseSettings(kCodePage, "\r\nName\r\n").gameFolder, "");
  EXPECT_EQ(ParseSettings(kCodePage, "").gameFolder, "");
}

TEST(Settings, WritesEveryValueOnItsOwnCrLfLine) {
  EditorSettings settings{"C:\\Quake3\\", "^1Neo", {"^1Neo", "x"}};
  EXPECT_EQ(FormatSettings(kCodePage, settings), "C:\\Quake3\\\r\n^1Neo\r\n^1Neo\r\nx\r\n");
  EXPECT_EQ(FormatSettings(kCodePage, {}), "\r\n\r\n");
  EXPECT_EQ(ParseSettings(kCodePage, FormatSettings(kCodePage, settings)).history, settings.history);
}

// The file stays in the code page while the folder fits it, names as the game's bytes; a
// folder it cannot hold makes the file UTF-8, names converted as the code page's text.
TEST(Settings, KeepsTheCodePageWhereTheFolderFitsItAndUtf8Otherwise) {
  const struct {
    EditorSettings settings;
    String bytes;
  } cases[] = {
      {{"C:\\Spi\xC3\xABle\\", "^1N\xE9o", {"\x01\xFF", "x"}}, "C:\\Spi\xEBle\\\r\n^1N\xE9o\r\n\x01\xFF\r\nx\r\n"},
      {{"C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\Quake3", "^1N\xE9o", {"\x80", "x"}},
       "\xEF\xBB\xBF" "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\Quake3\r\n^1N\xC3\xA9o\r\n\xE2\x82\xAC\r\nx\r\n"},
      // Folder bytes that would begin as the mark does would read back as UTF-8.
      {{"\xC3\xAF\xC2\xBB\xC2\xBF", "", {}}, "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF\r\n\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSettings(kCodePage, c.settings), c.bytes) << c.settings.gameFolder;
    const EditorSettings read = ParseSettings(kCodePage, c.bytes);
    EXPECT_EQ(read.gameFolder, c.settings.gameFolder);
    EXPECT_EQ(read.lastSavedName, c.settings.lastSavedName);
    EXPECT_EQ(read.history, c.settings.history);
  }
  // A UTF-8 file's folder that is not UTF-8 is not known; a name the code page lacks is left out.
  EXPECT_EQ(ParseSettings(kCodePage, "\xEF\xBB\xBF" "C:\\\xFF\r\nn\r\n").gameFolder, "");
  EXPECT_EQ(ParseSettings(kCodePage, "\xEF\xBB\xBF" "C:\\\r\n\xD0\x98\r\n\xD0\x98\r\nb\r\n").history, Names{"b"});
}

TEST(Settings, StoringReplacesTheFileAndKeepsItWhenTheReplaceFails) {
  testing::TempFolder folder;
  testing::FaultyFileSystem files;
  const String path = SettingsPath(folder.Path());
  EXPECT_EQ(path, folder.Path() + "\\settings.ini");

  EXPECT_FALSE(StoreSettings(files, path, {"C:\\Q3", "n", {"n"}}));
  EXPECT_EQ(folder.Read("settings.ini"), "C:\\Q3\r\nn\r\nn\r\n");
  EXPECT_EQ(LoadSettings(files, path).lastSavedName, "n");

  files.readOnlyFiles.insert(path);
  EXPECT_TRUE(StoreSettings(files, path, {"D:\\Other", "", {}}));
  EXPECT_EQ(folder.Read("settings.ini"), "C:\\Q3\r\nn\r\nn\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::string(folder.Path())), {}), 1);  // no temporary file

  files.readOnlyFiles.clear();
  files.diskFull = true;
  EXPECT_TRUE(StoreSettings(files, path, {"D:\\Other", "", {}}));
  EXPECT_EQ(folder.Read("settings.ini"), "C:\\Q3\r\nn\r\nn\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::string(folder.Path())), {}), 1);  // no temporary file
}

// Settings stay beside the program where its user may write there; else they go to the
// user's application data, and the first run there starts from the file the system
// virtualized, else from the one beside the program.
TEST(Settings, LiveWhereTheUserCanWrite) {
  testing::TempFolder folder;
  testing::FaultyFileSystem files;
  folder.MakeFolder("Programs\\Pelorin");
  folder.MakeFolder("AppData");
  const String program = folder.Path("Programs\\Pelorin"), appData = folder.Path("AppData");
  const String beside = SettingsPath(program), own = SettingsPath(UserSettingsFolder(appData));
  const auto choose = [&] { return ChooseSettingsFiles(files, program, appData, folder.Path("VirtualStore")); };

  EXPECT_EQ(choose().path, beside);
  EXPECT_EQ(choose().startFrom, "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::string(ReplaceChars(program, '\\', '/'))), {}), 0);  // the probe is gone

  files.unwritableFolders = {program};
  EXPECT_EQ(choose().path, own);
  EXPECT_EQ(choose().startFrom, beside);
  EXPECT_FALSE(StoreSettings(files, own, {"C:\\Q3", "n", {}}));  // its folders are made
  EXPECT_EQ(LoadSettings(files, own).gameFolder, "C:\\Q3");
  EXPECT_EQ(choose().startFrom, "");
  EXPECT_EQ(ChooseSettingsFiles(files, program, "", "").path, beside);  // no application data: as before

  EXPECT_EQ(VirtualStoreCopy("C:\\Users\\u\\AppData\\Local\\VirtualStore", "C:\\Program Files (x86)\\B\\settings.ini"),
            "C:\\Users\\u\\AppData\\Local\\VirtualStore\\Program Files (x86)\\B\\settings.ini");
  EXPECT_EQ(VirtualStoreCopy("C:\\V", "\\\\server\\share\\settings.ini"), "");
  EXPECT_EQ(VirtualStoreCopy("", "C:\\P\\settings.ini"), "");
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
