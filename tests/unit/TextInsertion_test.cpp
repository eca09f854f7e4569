#include "TextInsertion.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

TEST(TextInsertion, InsertsAtTheCaretAndMovesItPastTheInsertion) {
  struct Case {
    const char* text;
    int caret;
    const char* inserted;
    const char* expected;
    int expectedCaret;
  } cases[] = {
      {"abc", 0, "^1", "^1abc", 2},
      {"abc", 3, "^1", "abc^1", 5},
      {"abcd", 1, "^2", "a^2bcd", 3},  // "bc" selected: kept behind the code
      {"", 0, "A", "A", 1},
      {"xy", 1, "\x7f", "x\x7fy", 2},
  };
  for (const auto& c : cases) {
    const Insertion result = InsertAtCaret(c.text, c.caret, c.inserted);
    EXPECT_EQ(result.text, c.expected) << c.text << " at " << c.caret;
    EXPECT_EQ(result.caret, c.expectedCaret) << c.text << " at " << c.caret;
  }
}

TEST(TextInsertion, CaretOutsideTheTextIsHeldToIt) {
  EXPECT_EQ(InsertAtCaret("ab", 9, "^3").text, "ab^3");
  EXPECT_EQ(InsertAtCaret("ab", -4, "^3").text, "^3ab");
}

}  // namespace
}  // namespace pelorin
