#include "GlyphSheet.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace pelorin {
namespace {

std::vector<std::uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ShippedSheet : public ::testing::Test {
 protected:
  std::vector<std::uint8_t> bytes_ = ReadFile(PELORIN_RESOURCES_DIR "/glyphs.bmp");
};

TEST_F(ShippedSheet, BlankCellsAreBlankAndTheOthersHoldAShape) {
  const auto sheet = GlyphSheet::FromBmp(bytes_);
  ASSERT_TRUE(sheet);
  const int blank[] = {0, 5, 10, 12, 13, 22, 32, 34, 59, 92, 94};
  for (int code = 0; code < 128; ++code) {
    const bool shouldBeBlank = std::find(std::begin(blank), std::end(blank), code) != std::end(blank);
    EXPECT_EQ(sheet->CellIsBlank(code), shouldBeBlank) << "cell " << code;
  }
}

TEST_F(ShippedSheet, DamagedFilesAreRefused) {
  auto truncated = bytes_;
  truncated.resize(bytes_.size() - 1);
  EXPECT_FALSE(GlyphSheet::FromBmp(truncated));

  auto wrongDepth = bytes_;
  wrongDepth[28] = 8;
  EXPECT_FALSE(GlyphSheet::FromBmp(wrongDepth));

  auto wrongWidth = bytes_;
  wrongWidth[19] = 0;
  EXPECT_FALSE(GlyphSheet::FromBmp(wrongWidth));

  auto farOffset = bytes_;
  farOffset[13] = 0x7F;
  EXPECT_FALSE(GlyphSheet::FromBmp(farOffset));

  EXPECT_FALSE(GlyphSheet::FromBmp({}));
}

}  // namespace
}  // namespace pelorin
