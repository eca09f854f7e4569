#include <gtest/gtest.h>

#include "SelfRemoval.h"
#include "TextLines.h"

namespace pelorin {
namespace {

TEST(SelfRemoval, BatchDeletesByNameAndRemovesOnlyEmptyFolders) {
  const SelfRemovalPaths paths{"C:\\Games\\Q3 100%\\Pelorin\\Uninstall.exe",
                               "C:\\Games\\Q3 100%\\Pelorin",
                               {"C:\\Games\\Q3 100%\\Pelorin", "C:\\Games\\Q3 100%"},
                               "C:\\TEMP\\PelorinUninstall-1f",
                               "C:\\WINDOWS\\system32"};
  const std::vector<std::string> expected = {
      "@echo off",
      "cd /d \"C:\\WINDOWS\\system32\"",
      "set tries=0",
      ":Repeat",
      "del /f /q \"C:\\Games\\Q3 100%%\\Pelorin\\Uninstall.exe\"",
      "if not exist \"C:\\Games\\Q3 100%%\\Pelorin\\Uninstall.exe\" goto Removed",
      "set /a tries=tries+1",
      "\"C:\\WINDOWS\\system32\\ping.exe\" -n 2 127.0.0.1 >nul",
      "if %tries% lss 300 goto Repeat",
      ":Removed",
      "del /f /q \"C:\\Games\\Q3 100%%\\Pelorin\\settings.ini\"",
      "del /f /q \"C:\\Games\\Q3 100%%\\Pelorin\\settings.ini.tmp\"",
      "rmdir \"C:\\Games\\Q3 100%%\\Pelorin\"",
      "rmdir \"C:\\Games\\Q3 100%%\"",
      "del /f /q \"C:\\TEMP\\PelorinUninstall-1f\\uninstall.bat\" & rmdir \"C:\\TEMP\\PelorinUninstall-1f\" & exit",
  };
  EXPECT_EQ(SplitLines(SelfRemovalBatch(paths)), expected);

  // A temporary folder the console's code page cannot hold: the batch file names its own
  // folder as the interpreter expands it, and leaves out other paths it cannot name.
  const std::vector<std::string> own = SplitLines(SelfRemovalBatch({"", "", {"", "C:\\Games"}, "", "C:\\WINDOWS\\system32"}));
  EXPECT_EQ(own[4], "del /f /q \"%~dp0Uninstall.exe\"");
  EXPECT_EQ(std::vector<std::string>(own.begin() + 10, own.end()),
            (std::vector<std::string>{"rmdir \"C:\\Games\"",
                                      "del /f /q \"%~dp0uninstall.bat\" & rmdir \"%~dp0.\" & exit"}));
  // The outer quotes go with /s, so "&" and "(" in the temporary folder stay in the path.
  EXPECT_EQ(SelfRemovalCommand("C:\\WINDOWS\\system32", "C:\\T&J (IT)\\PelorinUninstall-1f\\uninstall.bat"),
            "\"C:\\WINDOWS\\system32\\cmd.exe\" /d /v:off /s /c \"\"C:\\T&J (IT)\\PelorinUninstall-1f\\uninstall.bat\"\"");
}

}  // namespace
}  // namespace pelorin
