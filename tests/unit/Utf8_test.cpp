#include "Utf8.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

TEST(Utf8Test, ConvertsExactlyOrNotAtAll) {
  struct Row {
    String utf8;
    std::u16string utf16;
    bool exact;
  };
  const Row rows[] = {
      {"C:\\Games\\Quake3", u"C:\\Games\\Quake3", true},
      {"C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B", u"C:\\\u0418\u0433\u0440\u044B", true},  // Cyrillic
      {"\xE6\xB8\xB8\xE6\x88\x8F", u"\u6E38\u620F", true},                             // Chinese
      {"\xEF\xBC\xBC", u"\uFF3C", true},  // the full-width reverse solidus stays itself, not "\"
      {"\xF0\x9F\x8E\xAE", u"\U0001F3AE", true},  // beyond the basic plane: a surrogate pair
      {"\xC0\xAF", u"", false},                   // overlong "/"
      {"\xED\xA0\x80", u"", false},               // an encoded surrogate
      {"\xF4\x90\x80\x80", u"", false},           // beyond U+10FFFF
      {"\xD0", u"", false},                       // cut short
      {"\xE9t\xE9", u"", false},                  // ANSI bytes are not UTF-8
  };
  for (const Row& row : rows) {
    std::u16string utf16;
    EXPECT_EQ(Utf16FromUtf8(row.utf8, utf16), row.exact) << row.utf8;
    EXPECT_EQ(IsUtf8(row.utf8), row.exact) << row.utf8;
    if (!row.exact) continue;
    EXPECT_EQ(utf16, row.utf16) << row.utf8;
    String back;
    EXPECT_TRUE(Utf8FromUtf16(utf16, back));
    EXPECT_EQ(back, row.utf8);
  }
  String utf8;
  for (const std::u16string& lone : {std::u16string(u"a\xD800"), std::u16string(u"\xDC00" u"b"),
                                     std::u16string(u"\xD800" u"b")})
    EXPECT_FALSE(Utf8FromUtf16(lone, utf8));
}

}  // namespace
}  // namespace pelorin
