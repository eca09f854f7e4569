#include <gtest/gtest.h>

#include "FileSystem_posix.h"
#include "SelfRemoval.h"
#include "TextLines.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

std::vector<std::string> Lines(const SelfRemovalPaths& paths) { return SplitLines(SelfRemovalBatch(paths)); }

// The lines before and after those that name the uninstaller and its folders.
void ExpectFrame(const std::vector<std::string>& lines, const std::string& temp, std::size_t parents) {
  ASSERT_EQ(lines.size(), 15u + parents);
  EXPECT_EQ(lines[0], "@echo off");
  EXPECT_EQ(lines[1], "cd /d \"" + temp + "\"");
  EXPECT_EQ(lines[2], "set tries=0");
  EXPECT_EQ(lines[3], ":Repeat");
  EXPECT_EQ(lines[6], "set /a tries=tries+1");
  EXPECT_EQ(lines[7], "ping -n 2 127.0.0.1 >nul");
  EXPECT_EQ(lines[8], "if %tries% lss 300 goto Repeat");
  EXPECT_EQ(lines[9], ":Removed");
  EXPECT_EQ(lines[12 + parents], "del \"" + temp + "\\yes.txt\"");
  EXPECT_EQ(lines[13 + parents], "del %0");
  EXPECT_EQ(lines[14 + parents], "exit");
}

TEST(SelfRemoval, BatchForAnOrdinaryPath) {
  const auto lines = Lines({"C:\\PELORIN\\UNINSTALL.EXE", "C:\\PELORIN\\UNINSTALL.EXE", "C:\\PELORIN",
                            "C:\\TEMP\\SetupTemp\\"});
  ExpectFrame(lines, "C:\\TEMP\\SetupTemp", 0);
  EXPECT_EQ(lines[4], "del \"C:\\PELORIN\\UNINSTALL.EXE\"");
  EXPECT_EQ(lines[5], "if not exist \"C:\\PELORIN\\UNINSTALL.EXE\" goto Removed");
  EXPECT_EQ(lines[10], "del \"C:\\PELORIN\\*.*\" < \"C:\\TEMP\\SetupTemp\\yes.txt\"");
  EXPECT_EQ(lines[11], "rmdir \"C:\\PELORIN\"");
}

TEST(SelfRemoval, BatchForPathsWithBlanksUsesShortFormsAndQuotesTheRest) {
  const auto lines = Lines({"C:\\Program Files\\Pelorin 100%\\Uninstall.exe",
                            "C:\\PROGRA~1\\PELORI~1\\UNINST~1.EXE", "C:\\PROGRA~1\\PELORI~1",
                            "C:\\Documents and Settings\\Me\\Temp\\SetupTemp\\"});
  ExpectFrame(lines, "C:\\Documents and Settings\\Me\\Temp\\SetupTemp", 1);
  EXPECT_EQ(lines[4], "del \"C:\\PROGRA~1\\PELORI~1\\UNINST~1.EXE\"");
  EXPECT_EQ(lines[5], "if not exist \"C:\\Program Files\\Pelorin 100%%\\Uninstall.exe\" goto Removed");
  EXPECT_EQ(lines[10], "del \"C:\\PROGRA~1\\PELORI~1\\*.*\" < \"C:\\Documents and Settings\\Me\\Temp\\SetupTemp\\yes.txt\"");
  EXPECT_EQ(lines[11], "rmdir \"C:\\PROGRA~1\\PELORI~1\"");
  EXPECT_EQ(lines[12], "rmdir \"C:\\PROGRA~1\"");
}

TEST(SelfRemoval, BatchWithoutShortPathsNamesTheFullPathsNeverAnEmptyOne) {
  const auto lines = Lines({"D:\\My Apps\\Pelorin\\Uninstall.exe", "", "", "C:\\TEMP\\SetupTemp\\"});
  ExpectFrame(lines, "C:\\TEMP\\SetupTemp", 1);
  EXPECT_EQ(lines[4], "del \"D:\\My Apps\\Pelorin\\Uninstall.exe\"");
  EXPECT_EQ(lines[10], "del \"D:\\My Apps\\Pelorin\\*.*\" < \"C:\\TEMP\\SetupTemp\\yes.txt\"");
  EXPECT_EQ(lines[11], "rmdir \"D:\\My Apps\\Pelorin\"");
  EXPECT_EQ(lines[12], "rmdir \"D:\\My Apps\"");
  for (const auto& line : lines) EXPECT_EQ(line.find("\"\""), std::string::npos) << line;
}

TEST(SelfRemoval, PreparingMakesTheFolderAndWritesAnswerAndBatch) {
  testing::TempFolder temp;
  PosixFileSystem files;
  const SelfRemovalPaths paths{"C:\\P\\Uninstall.exe", "", "", temp.Path("Temp\\SetupTemp\\")};
  EXPECT_TRUE(PrepareSelfRemoval(files, paths));
  EXPECT_EQ(temp.Read("Temp\\SetupTemp\\yes.txt"), "Y\r\n");
  EXPECT_EQ(temp.Read("Temp\\SetupTemp\\uninstall.bat"), SelfRemovalBatch(paths));
}

}  // namespace
}  // namespace pelorin
