#include "Str.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

TEST(String, EditsMatchTheStandardString) {
  using std::string_view_literals::operator""sv;
  struct Case {
    const char* name;
    void (*edit)(String&);
    void (*standard)(std::string&);
  };
  const Case cases[] = {
      {"append", [](String& s) { s.append("xyz"); }, [](std::string& s) { s.append("xyz"); }},
      {"append chars", [](String& s) { s.append(3, '-'); }, [](std::string& s) { s.append(3, '-'); }},
      {"insert", [](String& s) { s.insert(2, "AB"); }, [](std::string& s) { s.insert(2, "AB"); }},
      {"insert at end", [](String& s) { s.insert(s.size(), "!"); }, [](std::string& s) { s.insert(s.size(), "!"); }},
      {"erase", [](String& s) { s.erase(1, 3); }, [](std::string& s) { s.erase(1, 3); }},
      {"erase past end", [](String& s) { s.erase(4, 100); }, [](std::string& s) { s.erase(4, 100); }},
      {"replace longer", [](String& s) { s.replace(1, 2, "wxyz"); }, [](std::string& s) { s.replace(1, 2, "wxyz"); }},
      {"replace shorter", [](String& s) { s.replace(0, 5, "q"); }, [](std::string& s) { s.replace(0, 5, "q"); }},
      {"resize up", [](String& s) { s.resize(9, '.'); }, [](std::string& s) { s.resize(9, '.'); }},
      {"resize down", [](String& s) { s.resize(2); }, [](std::string& s) { s.resize(2); }},
      {"embedded NUL", [](String& s) { s += "a\0b"sv; }, [](std::string& s) { s += "a\0b"sv; }},
      {"pop_back, push_back", [](String& s) { s.pop_back(), s.push_back('#'); },
       [](std::string& s) { s.pop_back(), s.push_back('#'); }},
      {"self-append", [](String& s) { s.append(s); }, [](std::string& s) { s.append(s); }},
      {"self += many", [](String& s) { for (int i = 0; i < 5; ++i) s += s; }, [](std::string& s) {
         for (int i = 0; i < 5; ++i) s += s;
       }},
      {"append own tail", [](String& s) { s.append(std::string_view(s).substr(3)); },
       [](std::string& s) { s.append(std::string_view(s).substr(3)); }},
      {"insert own head", [](String& s) { s.insert(1, std::string_view(s).substr(0, 4)); },
       [](std::string& s) { s.insert(1, std::string(s, 0, 4)); }},
      {"replace by own part", [](String& s) { s.replace(0, 2, std::string_view(s).substr(2)); },
       [](std::string& s) { s.replace(0, 2, std::string(s, 2)); }},
      {"assign own part", [](String& s) { s = s.substr(1, 3); }, [](std::string& s) { s = s.substr(1, 3); }},
      {"clear", [](String& s) { s.clear(); }, [](std::string& s) { s.clear(); }},
  };
  for (const Case& c : cases) {
    String s("abcdefg");
    std::string standard("abcdefg");
    c.edit(s);
    c.standard(standard);
    EXPECT_EQ(s, std::string_view(standard)) << c.name;
    EXPECT_EQ(s.size(), standard.size()) << c.name;
    EXPECT_EQ(s.c_str()[s.size()], '\0') << c.name;
  }
}

TEST(String, EmptyAndMovedFromStringsAreUsable) {
  String empty;
  EXPECT_STREQ(empty.c_str(), "");
  EXPECT_TRUE(empty.empty());
  empty.erase();
  empty.resize(0);
  EXPECT_STREQ(empty.data(), "");

  String text("text");
  String moved(std::move(text));
  EXPECT_EQ(moved, "text");
  EXPECT_STREQ(text.c_str(), "");
  text += "again";
  EXPECT_EQ(text, "again");

  String assigned;
  assigned = std::move(moved);
  EXPECT_EQ(assigned, "text");
  String copy = assigned;
  copy[0] = 'n';
  EXPECT_EQ(assigned, "text");
  EXPECT_EQ(copy, "next");
}

TEST(String, SearchesCompareAndJoin) {
  const String s("a.b.c");
  EXPECT_EQ(s.find('.'), 1u);
  EXPECT_EQ(s.find(".c"), 3u);
  EXPECT_EQ(s.rfind('.'), 3u);
  EXPECT_EQ(s.find('x'), String::npos);
  EXPECT_EQ(s.find_first_of("cb"), 2u);
  EXPECT_TRUE(s.starts_with("a.") && s.ends_with('c') && !s.ends_with("b"));
  EXPECT_EQ(s.substr(2), "b.c");
  EXPECT_EQ(s.substr(5), "");
  EXPECT_TRUE(String("ab") < String("b") && !(String("b") < String("ab")));
  EXPECT_TRUE("a.b.c" == s && s != "a.b" && std::string_view("a.b.c") == s);
  EXPECT_EQ("[" + s + ']', "[a.b.c]");
  EXPECT_EQ(String(3, 'z') + std::string("!"), "zzz!");
}

}  // namespace
}  // namespace pelorin
