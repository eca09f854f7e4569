#include "DisplayScale.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

TEST(DisplayScale, WholeFactorAndLengthsPerDpi) {
  struct Case {
    int dpi, scale, within, elevenAtDpi;
  } cases[] = {{72, 1, 1, 8},   {96, 1, 1, 11},  {120, 1, 1, 14}, {144, 2, 1, 17},
               {168, 2, 1, 19}, {192, 2, 2, 22}, {288, 3, 3, 33}, {0, 1, 1, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(PixelScaleOfDpi(c.dpi), c.scale) << c.dpi;
    EXPECT_EQ(PixelScaleWithinDpi(c.dpi), c.within) << c.dpi;
    EXPECT_EQ(ScaleToDpi(11, c.dpi), c.elevenAtDpi) << c.dpi;
  }
  EXPECT_EQ(ScaleToDpi(-11, 144), -17);
  EXPECT_EQ(ScaleToDpi(20000000, 288), 60000000);  // the product is past 32 bits

}

}  // namespace
}  // namespace pelorin
