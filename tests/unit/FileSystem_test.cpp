#include "FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "FileSystem_posix.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// A private folder is made only where nothing stood, so that nobody can hand this run a
// folder, or a link to one, that they prepared.
TEST(CreatePrivateFolder, MakesOnlyANewFolderOfItsOwn) {
  testing::TempFolder temp;
  PosixFileSystem files;
  temp.MakeFolder("planted");
  temp.Write("file", "x");
  const std::string root = temp.Path();
  std::filesystem::create_directory_symlink(root + "/planted", root + "/link");
  std::filesystem::create_symlink(root + "/nowhere", root + "/dangling");

  const struct {
    const char* name;
    bool made;
  } cases[] = {{"fresh", true}, {"planted", false}, {"file", false}, {"link", false}, {"dangling", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(!CreatePrivateFolder(files, temp.Path(c.name)), c.made);
  }
  EXPECT_TRUE(files.FolderExists(temp.Path("fresh")));
  EXPECT_FALSE(files.IsReparsePoint(temp.Path("fresh")));
  EXPECT_TRUE(files.IsReparsePoint(temp.Path("link")));
  EXPECT_TRUE(files.IsReparsePoint(temp.Path("dangling")));
}

}  // namespace
}  // namespace pelorin
