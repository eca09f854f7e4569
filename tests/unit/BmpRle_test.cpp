#include "BmpRle.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <string>

#include "Str.h"

namespace pelorin {
namespace {

std::optional<std::vector<std::uint8_t>> Expand(const pelorin::String& data, std::uint32_t width, std::uint32_t rows,
                                                bool fourBits = false) {
  return ExpandBmpRle({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}, width, rows, fourBits);
}

using Bytes = std::vector<std::uint8_t>;

TEST(BmpRle, ExpandsRunsStretchesAndMoves) {
  const struct {
    const char* what;
    pelorin::String data;
    bool fourBits;
    Bytes pixels;  // 4 x 2, the bottom row first
  } cases[] = {
      {"runs and ends of line", pelorin::String("\x04\x07\0\0\x02\x05\x02\x06\0\0\0\1", 12), false, {7, 7, 7, 7, 5, 5, 6, 6}},
      {"a stretch padded to an even count", pelorin::String("\0\x03\x01\x02\x03\0\x01\x09\0\0\0\1", 12), false,
       {1, 2, 3, 9, 0, 0, 0, 0}},
      {"a move skips pixels", pelorin::String("\x01\x04\0\x02\x02\x01\x01\x08\0\1", 10), false, {4, 0, 0, 0, 0, 0, 0, 8}},
      {"4 bits: runs alternate the two indices", pelorin::String("\x04\x12\0\0\0\x03\x34\x50\0\1", 10), true,
       {1, 2, 1, 2, 3, 4, 5, 0}},
  };
  for (const auto& c : cases) {
    const auto pixels = Expand(c.data, 4, 2, c.fourBits);
    ASSERT_TRUE(pixels) << c.what;
    EXPECT_EQ(*pixels, c.pixels) << c.what;
  }
}

TEST(BmpRle, RefusesWhatLeavesThePictureOrTheBytes) {
  const struct {
    const char* what;
    pelorin::String data;
  } cases[] = {
      {"a run past the row", pelorin::String("\x05\x07\0\1", 4)},
      {"a run after the last row", pelorin::String("\0\0\0\0\x01\x07\0\1", 8)},
      {"a stretch past the row", pelorin::String("\x02\x01\0\x03\x01\x02\x03\0\0\1", 10)},
      {"a stretch past the bytes", pelorin::String("\0\x04\x01\x02\x03", 5)},
      {"a stretch without its padding", pelorin::String("\0\x03\x01\x02\x03", 5)},
      {"a move past the row", pelorin::String("\0\x02\x05\0\0\1", 6)},
      {"a move past the top", pelorin::String("\0\x02\0\x03\0\1", 6)},
      {"a move beside the top row", pelorin::String("\0\x02\x01\x02\0\1", 6)},
      {"a move cut short", pelorin::String("\0\x02\x01", 3)},
      {"a line end after the last row", pelorin::String("\0\0\0\0\0\0\0\1", 8)},
      {"no end of picture", pelorin::String("\x04\x07\0\0", 4)},
      {"an odd last byte", pelorin::String("\x04\x07\0", 3)},
      {"nothing", pelorin::String()},
  };
  for (const auto& c : cases) EXPECT_FALSE(Expand(c.data, 4, 2)) << c.what;
  EXPECT_TRUE(Expand(pelorin::String("\0\x02\0\x02\0\1", 6), 4, 2)) << "a move to the end of the picture";
}

}  // namespace
}  // namespace pelorin
