#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iostream>

namespace {

struct Budget {
  const char* name;
  const char* path;  // relative to the shipped programs' folder, or absolute
  std::uintmax_t bytes;
};

// The ceilings of the shipped files, the one place that holds them (tools/bench.sh prints
// them from here): users download setup.exe and start the editor often, and a feature that
// needs bytes pays for them elsewhere. Setup and the uninstaller are one program: the setup
// image is setup.exe before the pack is put behind it, and Uninstall.exe is that image with
// its 32-byte removal mark. setup.exe carries the image, the editor and the setup data, of
// which the side picture is the largest part. The editor runs the game's start files as the
// engine does (cvars, vstr) to save and to start with the game's name: 6 KB. Following the
// monitor's scale and taking every action of the editor by key cost the editor 5 KB and
// setup's image 3.5 KB; the two install scopes, the judging of the whole held install path,
// the elevated restart and the check of setup's own file cost setup's image 10 KB and the
// editor's choice of its settings folder 2 KB. None of it is paid for elsewhere yet.
constexpr Budget kBudgets[] = {
    {"Pelorin.exe", "Pelorin.exe", 120320},
    {"setup image", PELORIN_SETUP_IMAGE, 136192},
    {"Uninstall.exe", "Uninstall.exe", 136192 + 32},
    {"side picture", PELORIN_SIDE_PICTURE, 4096},
    {"setup.exe", "setup.exe", 261120},
};

TEST(SizeBudget, ShippedFilesStayWithinTheirBudgets) {
  const std::filesystem::path shipped = PELORIN_SHIPPED_DIR;
  for (const Budget& budget : kBudgets) {
    const std::filesystem::path file = shipped / budget.path;  // an absolute path stays as it is
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    const std::uintmax_t size = std::filesystem::file_size(file);
    EXPECT_LE(size, budget.bytes) << budget.name << ": " << file;
    std::cout << budget.name << ": " << size << " of " << budget.bytes << " bytes\n";
  }
}

}  // namespace
