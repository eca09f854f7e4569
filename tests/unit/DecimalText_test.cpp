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

}  // namespace
}  // namespace pelorin
