#include "GlyphSheet.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

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
  std::vector<std::uint8_t> bytes_ = ReadFile(PELORIN_RESOURCES_DIR "/glyphs.lz");
};

TEST_F(ShippedSheet, BlankCellsAreBlankAndTheOthersHoldAShape) {
  const auto sheet = GlyphSheet::FromPacked(bytes_);
  ASSERT_TRUE(sheet);
  const int blank[] = {0, 5, 10, 12, 13, 22, 32, 34, 59, 92, 94};
  for (int code = 0; code < 128; ++code) {
    const bool shouldBeBlank = std::find(std::begin(blank), std::end(blank), code) != std::end(blank);
    EXPECT_EQ(sheet->CellIsBlank(code), shouldBeBlank) << "cell " << code;
  }
}

// The sheet holds shapes where the generator drew them: the left arrow's point and the top
// row of the bracket "[" (code 16), read through the cell order of the packed form.
TEST_F(ShippedSheet, PixelsLieWhereTheirCellsAre) {
  const auto sheet = GlyphSheet::FromPacked(bytes_);
  ASSERT_TRUE(sheet);
  EXPECT_TRUE(sheet->IsGlyph(15 * 16 + 1, 7 * 16 + 7));
  EXPECT_FALSE(sheet->IsGlyph(15 * 16 + 0, 7 * 16 + 7));
  for (int x = 0; x < 16; ++x) EXPECT_EQ(sheet->IsGlyph(x, 16 + 1), x >= 4 && x <= 10) << x;
}

TEST_F(ShippedSheet, DamagedDataIsRefused) {
  auto truncated = bytes_;
  truncated.resize(bytes_.size() - 1);
  EXPECT_FALSE(GlyphSheet::FromPacked(truncated));

  auto longer = bytes_;
  longer.push_back(0);
  EXPECT_FALSE(GlyphSheet::FromPacked(longer));

  // A copy from before the start, and one that runs past the sheet's 4,096 bytes.
  EXPECT_FALSE(GlyphSheet::FromPacked(std::vector<std::uint8_t>{0x01, 0x00, 0x01, 0x00}));
  std::vector<std::uint8_t> overrun{0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 16; ++i) overrun.insert(overrun.end(), {0x00, 0x00, 0xF8, 0x00, 0xF8, 0x00, 0xF8, 0x00, 0xF8,
                                                               0x00, 0xF8, 0x00, 0xF8, 0x00, 0xF8, 0x00, 0xF8});
  EXPECT_FALSE(GlyphSheet::FromPacked(overrun));

  EXPECT_FALSE(GlyphSheet::FromPacked({}));
}

}  // namespace
}  // namespace pelorin
