#include "DecimalText.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

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

// A number too large for a double is no number, not 0: stored data reads it as damaged.
TEST(DecimalText, ParseDecimalTakesWholeNumbersOnly) {
  EXPECT_EQ(ParseDecimal("-8.25"), -8.25);
  EXPECT_EQ(ParseDecimal("12"), 12.0);
  for (const String& text : {String("1x"), String("."), String(""), String(400, '9')})
    EXPECT_EQ(ParseDecimal(text), std::nullopt) << text.size();
}

}  // namespace
}  // namespace pelorin
