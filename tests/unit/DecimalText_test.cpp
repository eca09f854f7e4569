#include "DecimalText.h"

#include <gtest/gtest.h>

namespace pelorin {
namespace {

TEST(DecimalText, WholeNumbersAndFractionsAreWrittenInFull) {
  EXPECT_EQ(WholeNumberText(0), "0");
  EXPECT_EQ(WholeNumberText(4294967295u), "4294967295");
  EXPECT_EQ(FormatDecimal(2.05), "2.05");  // the fraction's leading zero stays
  EXPECT_EQ(FormatDecimal(-8.25), "-8.25");
}

// Whole values and values just below one, where cutting toward zero and the whole number
// below part (halves are EditorLayout's cases).
TEST(DecimalText, RoundHalfEvenOfWholeAndNegativeValues) {
  for (const auto& [value, rounded] : {std::pair{7.0, 7LL}, {-7.0, -7LL}, {-2.6, -3LL}, {-2.4, -2LL}})
    EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

}  // namespace
}  // namespace pelorin
