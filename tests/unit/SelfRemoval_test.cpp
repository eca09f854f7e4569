#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <tuple>

#include "SelfRemoval.h"
#include "TextLines.h"

namespace pelorin {
namespace {

TEST(SelfRemoval, BatchDeletesOnlyInItsOwnFolderAndRemovesOnlyEmptyFolders) {
  const SelfRemovalPaths paths{"C:\\TEMP\\Q3 100%\\PelorinUninstall-1f\\Uninstall.exe",
                               "C:\\TEMP\\Q3 100%\\PelorinUninstall-1f",
                               "C:\\WINDOWS\\system32",
                               {"C:\\Games\\Q3 100%\\Pelorin", "C:\\Games\\Q3 100%"}};
  const std::vector<String> expected = {
      "@echo off",
      "cd /d \"C:\\WINDOWS\\system32\"",
      "set tries=0",
      ":Repeat",
      "del /f /q \"C:\\TEMP\\Q3 100%%\\PelorinUninstall-1f\\Uninstall.exe\"",
      "if not exist \"C:\\TEMP\\Q3 100%%\\PelorinUninstall-1f\\Uninstall.exe\" goto Removed",
      "set /a tries=tries+1",
      "\"C:\\WINDOWS\\system32\\ping.exe\" -n 2 127.0.0.1 >nul",
      "if %tries% lss 300 goto Repeat",
      ":Removed",
      "rmdir \"C:\\Games\\Q3 100%%\\Pelorin\"",
      "rmdir \"C:\\Games\\Q3 100%%\"",
      "del /f /q \"C:\\TEMP\\Q3 100%%\\PelorinUninstall-1f\\uninstall.bat\" & "
      "rmdir \"C:\\TEMP\\Q3 100%%\\PelorinUninstall-1f\" & exit",
  };
  EXPECT_EQ(SplitLines(SelfRemovalBatch(paths)), expected);

  // A temporary folder the console's code page cannot hold: the batch file names its own
  // folder as the interpreter expands it, and leaves out other paths it cannot name.
  const std::vector<String> own = SplitLines(SelfRemovalBatch({"", "", "C:\\WINDOWS\\system32", {"", "C:\\Games"}}));
  EXPECT_EQ(own[4], "del /f /q \"%~dp0Uninstall.exe\"");
  EXPECT_EQ(std::vector<String>(own.begin() + 10, own.end()),
            (std::vector<String>{"rmdir \"C:\\Games\"",
                                      "del /f /q \"%~dp0uninstall.bat\" & rmdir \"%~dp0.\" & exit"}));
  // The outer quotes go with /s, so "&" and "(" in the temporary folder stay in the path.
  EXPECT_EQ(SelfRemovalCommand("C:\\WINDOWS\\system32", "C:\\T&J (IT)\\PelorinUninstall-1f\\uninstall.bat"),
            "\"C:\\WINDOWS\\system32\\cmd.exe\" /d /v:off /s /c \"\"C:\\T&J (IT)\\PelorinUninstall-1f\\uninstall.bat\"\"");
}

// The copy's switch: read back as written, and nothing else taken for it.
TEST(SelfRemoval, OriginalRemovalSwitchReadsBackExactly) {
  const OriginalRemoval removal{0x123456789ABCDEF0u, 4294967295u, 2, "C:\\Games\\Q3, 100%\\Pelorin"};
  const String arguments = OriginalRemovalArguments(removal);
  EXPECT_EQ(arguments, "/RemoveOriginal=1311768467463790320,4294967295,2,C:\\Games\\Q3, 100%\\Pelorin");
  const std::optional<OriginalRemoval> read = ParseOriginalRemoval(arguments);
  ASSERT_TRUE(read);
  EXPECT_EQ(std::tie(read->process, read->file, read->levels, read->installFolder),
            std::tie(removal.process, removal.file, removal.levels, removal.installFolder));
  for (const char* other : {"/S", "/RemoveOriginal=1,2,3,", "/RemoveOriginal=1,,3,C:\\x",
                            "/RemoveOriginal=1,2,99,C:\\x", "/removeoriginal=1,2,3,C:\\x",
                            "/RemoveOriginal=1,-2,3,C:\\x", " /RemoveOriginal=1,2,3,C:\\x"})
    EXPECT_FALSE(ParseOriginalRemoval(other)) << other;
}

}  // namespace
}  // namespace pelorin
