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
// which the side picture is the largest part. Each ceiling is its file's size when it was set
// and 512 bytes, one step of the file's alignment. The editor's buttons are a table made at
// build time and its glyph sheet is packed; neither program links the library's 64-bit
// division or rounding or the runtime's pseudo-relocation code, file errors carry no text
// until shown, inline constructors are not decloned (so link-time folding merges their
// copies), text is the programs' own String (one call where std::string inlined its
// short-string code), a function called once is inlined only while it is small, the few
// bytes of writable data share the import section, the headers sit over the MS-DOS stub,
// and messages, tables and loops are written for size. That paid for the game's start files,
// the display scale and keys, and the two install scopes, which had raised the earlier
// ceilings.
constexpr Budget kBudgets[] = {
    {"Pelorin.exe", "Pelorin.exe", 84480},
    {"setup image", PELORIN_SETUP_IMAGE, 97792},
    {"Uninstall.exe", "Uninstall.exe", 97792 + 32},
    {"side picture", PELORIN_SIDE_PICTURE, 4096},
    {"setup.exe", "setup.exe", 186936},
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
