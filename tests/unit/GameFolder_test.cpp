#include "GameFolder.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

TEST(GameFolder, RecognisedByOneOfTheEnginesPrograms) {
  testing::TempFolder root;
  testing::FaultyFileSystem files;
  const struct {
    const char* program;
    bool engine;
  } kCases[] = {
      {"QUAKE3.EXE", true},       {"ioquake3.x86.exe", true}, {"ioQuake3.x86_64.exe", true},
      {"ioquake3.exe", true},     {"Quake3e.exe", true},      {"quake3e.X64.exe", true},
      {"quake3e-vulkan.exe", true}, {"Quake3e-Vulkan.x64.exe", true}, {"quake3e.arm64.exe", true},
      {"quake3e-vulkan.arm64.exe", true}, {"cnq3-x86.exe", true}, {"CNQ3-x64.exe", true},
      {"quake3.exe.bak", false},  {"ioq3ded.x86_64.exe", false}, {"quake3e.x86.exe", false},
      {"quake3", false},          {"quake3-setup.exe", false}, {"cnq3.exe", false},
  };
  for (const auto& [program, engine] : kCases) {
    root.Write(String(program) + "\\" + program, "");
    EXPECT_EQ(IsGameFolder(files, root.Path(program)), engine) << program;
    EXPECT_EQ(IsEngineProgram(program), engine) << program;
    EXPECT_EQ(IsEngineRunning({"explorer.exe", program}), engine) << program;
  }
  root.MakeFolder("Empty");
  EXPECT_FALSE(IsGameFolder(files, root.Path("Empty")));
  EXPECT_FALSE(IsGameFolder(files, root.Path("Missing")));
  EXPECT_FALSE(IsEngineRunning({}));
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
  std::vector<String> mods;
  EXPECT_FALSE(ModsWithConfigs(files, root.Path("Q3"), mods));
  EXPECT_EQ(mods, (std::vector<String>{"baseq3", "osp"}));
  EXPECT_EQ(ModsWithConfigs(files, root.Path("Gone"), mods).kind, FileError::Kind::kPathNotFound);
}

TEST(GameFolder, ModsOfTheHomePathJoinTheGameFoldersOnce) {
  testing::TempFolder root;
  testing::FaultyFileSystem files;
  root.Write("Q3\\baseq3\\q3config.cfg", "");
  root.Write("Q3\\osp\\q3config.cfg", "");
  root.Write("Home\\BASEQ3\\q3config.cfg", "");
  root.Write("Home\\mine\\q3config.cfg", "");
  root.MakeFolder("Home\\noconfig");
  std::vector<String> mods;
  EXPECT_FALSE(ModsInBothPlaces(files, root.Path("Q3"), root.Path("Home"), mods));
  EXPECT_EQ(mods, (std::vector<String>{"baseq3", "osp", "mine"}));
  for (const String& home : {String(), root.Path("NoHome")}) {
    EXPECT_FALSE(ModsInBothPlaces(files, root.Path("Q3"), home, mods));
    EXPECT_EQ(mods, (std::vector<String>{"baseq3", "osp"}));
  }
  EXPECT_EQ(EngineHomePath("C:\\Users\\p\\AppData\\Roaming"), "C:\\Users\\p\\AppData\\Roaming\\Quake3");
  EXPECT_EQ(EngineHomePath(""), "");
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
