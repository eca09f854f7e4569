#include "NameHistory.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <initializer_list>

namespace pelorin {
namespace {

NameHistory HistoryOf(std::initializer_list<const char*> names) {
  NameHistory history;
  for (const char* name : names) history.Append(name);
  return history;
}

using Names = std::vector<String>;

TEST(NameHistory, AddNameKeepsFourNamesWithoutCopies) {
  struct Case {
    std::initializer_list<const char*> before;
    const char* added;
    Names after;
  } cases[] = {
      {{"a", "b", "c", "d"}, "x", {"x", "a", "b", "c"}},
      {{"a", "b", "c", "d"}, "c", {"c", "a", "b", "d"}},
      {{"b", "a"}, "a", {"a", "b"}},
      {{"a"}, "A", {"A", "a"}},              // names compare case-sensitively
      {{"^1a", "a"}, "a", {"a", "^1a"}},     // colour codes are part of the name
      {{}, "", {""}},                         // an empty name is recorded like any other
      {{"a", "b", "c"}, "d", {"d", "a", "b", "c"}},
  };
  for (const auto& c : cases) {
    NameHistory history = HistoryOf(c.before);
    history.AddName(c.added);
    EXPECT_EQ(history.Names(), c.after) << "adding " << c.added;
  }
}

TEST(NameHistory, RemoveIgnoresRowsWithoutAName) {
  NameHistory history = HistoryOf({"a", "b"});
  EXPECT_FALSE(history.Remove(3));
  EXPECT_FALSE(history.Remove(-1));
  EXPECT_EQ(history.Names(), (Names{"a", "b"}));
  EXPECT_TRUE(history.Remove(0));
  EXPECT_EQ(history.Names(), (Names{"b"}));
}

TEST(NameHistory, MissingEntriesReadAsEmpty) {
  NameHistory history = HistoryOf({"a", "b"});
  EXPECT_EQ(history.Entry(1), "b");
  EXPECT_EQ(history.Entry(3), "");
  EXPECT_EQ(history.Entry(-1), "");
}

}  // namespace
}  // namespace pelorin
