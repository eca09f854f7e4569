#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iostream>

namespace {

struct Budget {
  const char* path;
  std::uintmax_t bytes;
};

// The shipped files stay within their sizes: users download setup.exe and start the
// editor often. The setup image is setup.exe before the programs are packed behind it. The
// uninstaller grew by its removal plan, its own closing of the editor by process and its
// report of what stays; setup carries it, and grew with it and with its own checks of the
// install folder, of item names and of an earlier install. setup.exe carries the editor, which
// grew by reading a config as the engine does, so that a save changes nothing but the name.
// Both setup and the uninstaller read a folder's access list before they trust it (with the
// wide calls and their conversion); the uninstaller copies itself where it cannot move and
// starts the copy with inherited handles, and setup makes the side picture from bytes it
// reads through the handle it holds. The editor (and so setup.exe, which carries it) grew by
// 7 KB when it came to run a mod's start configs as the engine does: the cvars they set, vstr,
// toggle, reset and unset, and the name the game starts with at the editor's own start.
TEST(SizeBudget, ShippedFilesStayWithinTheirBudgets) {
  const std::filesystem::path shipped = PELORIN_SHIPPED_DIR;
  for (const Budget& budget : {Budget{"Pelorin.exe", 125440}, Budget{"Uninstall.exe", 75264},
                               Budget{PELORIN_SETUP_IMAGE, 102912}, Budget{"setup.exe", 326656}}) {
    const std::filesystem::path file = shipped / budget.path;  // an absolute path stays as it is
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    const std::uintmax_t size = std::filesystem::file_size(file);
    EXPECT_LE(size, budget.bytes) << file;
    std::cout << file.string() << ": " << size << " of " << budget.bytes << " bytes\n";
  }
}

}  // namespace
