#include "TextLines.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

using Lines = std::vector<String>;

TEST(TextLines, CrAndCrLfEndLinesWhileALoneLfStaysInside) {
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\nb\n"), (Lines{"a\nb\n"}));
  EXPECT_EQ(SplitLines("\r\n\r\nx"), (Lines{"", "", "x"}));
  EXPECT_EQ(SplitLines(""), Lines{});
}

TEST(TextLines, JoinEndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLines({"a", "", "b\n"}), "a\r\n\r\nb\n\r\n");
  EXPECT_EQ(JoinLines({}), "");
}

}  // namespace
}  // namespace pelorin
