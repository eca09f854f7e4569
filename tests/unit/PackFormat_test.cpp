#include "PackFormat.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

TEST(PackFormat, RecordsAreNineFieldsWithoutLeadingZeros) {
  const PackRecord record{"Uninstall.exe", 22, 53248, {2001, 6, 17, 11, 26, 50}};
  EXPECT_EQ(FormatRecord(record), "Uninstall.exe,22,53248,11,26,50,6,17,2001");
  const PackRecord licence{"%LICENSE%", 245974, 519, {2001, 6, 3, 10, 9, 16}};
  EXPECT_EQ(FormatRecord(licence), "%LICENSE%,245974,519,10,9,16,6,3,2001");

  const auto parsed = ParseRecord("%LICENSE%,245974,519,10,9,16,6,3,2001");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->name, "%LICENSE%");
  EXPECT_EQ(parsed->offset, 245974u);
  EXPECT_EQ(parsed->size, 519u);
  EXPECT_EQ(parsed->time, (FileTime{2001, 6, 3, 10, 9, 16}));
}

TEST(PackFormat, DamagedRecordsAreRefused) {
  for (const char* line : {
           "a,22,5,11,26,50,6,17",                  // eight fields
           "a,22,5,11,26,50,6,17,2001,x",           // ten fields
           "a,22,5,11,26,50.5,6,17,2001",           // a time that is not a whole number
           "a,22,-5,11,26,50,6,17,2001",            // a negative size
           "a,21,5,11,26,50,6,17,2001",             // an offset inside the magic
           "a,22,5,24,26,50,6,17,2001",             // hour 24
           "a,22,5,11,26,50,13,17,2001",            // month 13
           "a,22,99999999999999999999,1,1,1,1,1,2001",  // a size past 64 bits
           ",22,5,11,26,50,6,17,2001",              // no name
           " a,22,5,11,26,50,6,17,2001",            // a leading blank
       }) {
    EXPECT_FALSE(ParseRecord(line)) << line;
  }
}

TEST(PackFormat, ItemNamesThatLeaveTheirFolderAreUnsafe) {
  for (const char* name : {"Pelorin.exe", "bin\\x.dll", "a\\b\\c.txt", "..x", "x..y"})
    EXPECT_TRUE(IsSafeRelativeName(name)) << name;
  for (const char* name : {"", "..\\evil.exe", "a\\..\\..\\evil", "C:\\Windows\\x.dll", "c:x",
                           "\\Windows\\x", "/etc/passwd", "a/../../b", "a\\\\b", "a\\"})
    EXPECT_FALSE(IsSafeRelativeName(name)) << name;
}

}  // namespace
}  // namespace pelorin
