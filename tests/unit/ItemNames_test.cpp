#include "ItemNames.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

TEST(ItemNames, NamesThatWindowsWouldChangeOrTakeForSomethingElseAreRefused) {
  for (const char* name : {"Pelorin.exe", "bin\\x.dll", "bin/x.dll", "docs\\install.log", "CONSOLE.txt",
                           "COM10", "LPT0.txt", "a.b c", "$shared.dll", "%SETUPINFO%", "x&y", "..x"})
    EXPECT_EQ(ItemNameProblem(name), nullptr) << name;
  for (const char* name : {"CON", "con.txt", "bin\\Nul.tar.gz", "AUX .dll", "prn", "COM1", "lpt9.log", "$NUL.dll",
                           "readme.", "bin. \\x", "x ", ".", "a\\.\\b", "..\\evil.exe", "C:\\evil.exe", "\\x",
                           "a\\\\b", "a\\", "a<b", "a>b", "a|b", "a?b", "a*b", "a\"b", "a\tb", "a\x1F" "b",
                           "INSTALL.LOG", "&Pelorin.lnk", "$sub\\x.dll", "$sub/x.dll", "$", "$x."})
    EXPECT_NE(ItemNameProblem(name), nullptr) << name;
  EXPECT_EQ(ItemPath("bin/sub\\x.dll"), "bin\\sub\\x.dll");
  EXPECT_EQ(ItemPath("$shared.dll"), "shared.dll");
}

}  // namespace
}  // namespace pelorin
