#include "GameFolder.h"

#include <gtest/gtest.h>

#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

TEST(GameFolder, RecognisedByExactlyOneQuake3Exe) {
  testing::TempFolder root;
  testing::FaultyFileSystem files;
  root.Write("Game\\QUAKE3.EXE", "");
  root.Write("Other\\quake3.exe.bak", "");
  root.MakeFolder("Empty");
  EXPECT_TRUE(IsGameFolder(files, root.Path("Game")));
  EXPECT_FALSE(IsGameFolder(files, root.Path("Other")));
  EXPECT_FALSE(IsGameFolder(files, root.Path("Empty")));
  EXPECT_FALSE(IsGameFolder(files, root.Path("Missing")));
}

TEST(GameFolder, ListsOnlyModsThatHoldAConfigFile) {
  testing::TempFolder root;
  testing::FaultyFileSystem files;
  root.Write("Q3\\baseq3\\q3config.cfg", "");
  root.Write("Q3\\osp\\a.cfg", "");
  root.Write("Q3\\osp\\b.cfg", "");
  root.Write("Q3\\cpma\\readme.txt", "");
  root.Write("Q3\\deep\\inner\\x.cfg", "");
  root.Write("Q3\\top.cfg", "");
  std::vector<std::string> mods;
  EXPECT_FALSE(ModsWithConfigs(files, root.Path("Q3"), mods));
  EXPECT_EQ(mods, (std::vector<std::string>{"baseq3", "osp"}));
  EXPECT_EQ(ModsWithConfigs(files, root.Path("Gone"), mods).kind, FileError::Kind::kPathNotFound);
}

TEST(GameFolder, LastPathComponentIsWhatFollowsTheLastBackslash) {
  EXPECT_EQ(LastPathComponent("C:\\Games\\Quake3\\baseq3"), "baseq3");
  EXPECT_EQ(LastPathComponent("C:\\baseq3"), "baseq3");
  EXPECT_EQ(LastPathComponent("baseq3"), "baseq3");
  EXPECT_EQ(LastPathComponent("C:\\Quake3\\"), "");
  EXPECT_EQ(LastPathComponent(""), "");
}

}  // namespace
}  // namespace pelorin
