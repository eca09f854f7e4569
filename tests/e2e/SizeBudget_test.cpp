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
// reads through the handle it holds. Following the monitor's scale and taking every action of
// the editor by key cost the editor 5.6 KB (keys, focus, scaled layout and drawing, item names)
// and setup 2 KB and the uninstaller 1 KB (scaled layouts and fonts, the wizard's move to a
// monitor of another scale).
TEST(SizeBudget, ShippedFilesStayWithinTheirBudgets) {
  const std::filesystem::path shipped = PELORIN_SHIPPED_DIR;
  for (const Budget& budget : {Budget{"Pelorin.exe", 123904}, Budget{"Uninstall.exe", 76288},
                               Budget{PELORIN_SETUP_IMAGE, 104960}, Budget{"setup.exe", 329728}}) {
    const std::filesystem::path file = shipped / budget.path;  // an absolute path stays as it is
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    const std::uintmax_t size = std::filesystem::file_size(file);
    EXPECT_LE(size, budget.bytes) << file;
    std::cout << file.string() << ": " << size << " of " << budget.bytes << " bytes\n";
  }
}

}  // namespace
