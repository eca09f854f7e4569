#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "InstallRecord.h"

namespace pelorin {
namespace {

TEST(InstallRecord, KeyNameTurnsBothSlashesIntoBlanksAndKeepsTheRest) {
  EXPECT_EQ(UninstallKeyName("Pelorin"), "Pelorin");
  EXPECT_EQ(UninstallKeyName("A\\B/C & D"), "A B C & D");
  EXPECT_EQ(UninstallKeyPath("x/y"),
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\x y");
}

}  // namespace
}  // namespace pelorin
