#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "RemovalPlan.h"

namespace pelorin {
namespace {

using namespace std::string_literals;

const RemovalPlaces kPlaces{"C:\\Games\\Brackwater\\Pelorin", "C:\\Games\\Brackwater\\Pelorin\\Uninstall.exe",
                            "C:\\WINDOWS\\system32", {"C:\\Menu\\Programs"}};

TEST(RemovalPlan, ReadsHeaderAndEveryEntryWithEitherLineEnd) {
  const RemovalPlan plan =
      PlanRemoval("Pelorin\r\n1.2\rPelorin.exe\r\nUninstall.exe\rbin\\a.dll\r\nb\nc.dll\r\n", "", kPlaces);
  EXPECT_EQ(plan.header, "Pelorin\r\n1.2\r\nPelorin.exe\r\n");
  EXPECT_EQ(plan.appName, "Pelorin");
  EXPECT_EQ(plan.appVersion, "1.2");
  ASSERT_EQ(plan.deletions.size(), 1u);
  EXPECT_EQ(plan.deletions[0].entry, "bin\\a.dll");
  EXPECT_EQ(plan.damagedLines, 1u);  // a lone LF stays inside its line
  EXPECT_EQ(PlanRemoval("OnlyName\r\n", "", kPlaces).stop, PlanStop::kNoHeader);

  String big = "A\r\n1\r\n\r\n";
  for (int i = 0; i < 1500; ++i) big += "f" + std::to_string(i) + "\r\n";
  const RemovalPlan bigPlan = PlanRemoval(big, "", kPlaces);
  ASSERT_EQ(bigPlan.deletions.size(), 1500u);
  EXPECT_EQ(bigPlan.deletions.back().entry, "f1499");
  EXPECT_EQ(bigPlan.mainProgram, "");
}

TEST(RemovalPlan, HeaderDecidesWhetherAndWhatToClose) {
  struct Case {
    String log;
    PlanStop stop;
    String mainProgram;
  };
  const Case cases[] = {
      {"", PlanStop::kNoHeader, ""},
      {"Pelorin\r\n1.2\r\n", PlanStop::kNoHeader, ""},
      {"\r\n1.2\r\nPelorin.exe\r\n", PlanStop::kNoName, ""},
      {"Pel\0orin\r\n1.2\r\nPelorin.exe\r\n"s, PlanStop::kNoName, ""},
      {"Pelorin\r\n1.2\r\nPelorin.exe\r\n", PlanStop::kNone, "C:\\Games\\Brackwater\\Pelorin\\Pelorin.exe"},
      {"Pelorin\r\n1.2\r\nbin\\Pelorin.EXE\r\n", PlanStop::kNone, "C:\\Games\\Brackwater\\Pelorin\\bin\\Pelorin.EXE"},
      {"Pelorin\r\n1.2\r\n\r\n", PlanStop::kNone, ""},
      {"Pelorin\r\n1.2\r\nuninstall.exe\r\n", PlanStop::kNone, ""},
      {"Pelorin\r\n1.2\r\nreadme.txt\r\n", PlanStop::kNone, ""},
      {"Pelorin\r\n1.2\r\nPelorin\n.exe\r\n", PlanStop::kNone, ""},
      {"Pelorin\r\n1.2\r\n..\\x.exe\r\n", PlanStop::kNone, ""},
      {"Pelorin\r\n1.2\r\nC:\\WINDOWS\\notepad.exe\r\n", PlanStop::kNone, ""},
  };
  for (const Case& c : cases) {
    const RemovalPlan plan = PlanRemoval(c.log, "", kPlaces);
    EXPECT_EQ(plan.stop, c.stop) << c.log;
    EXPECT_EQ(plan.mainProgram, c.mainProgram) << c.log;
  }
}

TEST(RemovalPlan, SkipsDamagedLinesAndLeavesTheUninstallerAndRecordsForLast) {
  const String log = String("Pelorin\r\n1.2\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\n") +
                          "&C:\\data\\thesis.docx\0.lnk\r\n"s + "install.log\r\nfolders.log\r\n" +
                          "bad\x1b.txt\r\n&C:\\Menu\\Programs\\Pelorin.lnk\r\n";
  const RemovalPlan plan = PlanRemoval(log, "", kPlaces);
  EXPECT_EQ(plan.damagedLines, 2u);
  ASSERT_EQ(plan.deletions.size(), 2u);
  EXPECT_EQ(plan.deletions[0].path, "C:\\Games\\Brackwater\\Pelorin\\Pelorin.exe");
  EXPECT_EQ(plan.deletions[0].stopFolder, "C:\\Games\\Brackwater\\Pelorin");
  EXPECT_EQ(plan.deletions[1].path, "C:\\Menu\\Programs\\Pelorin.lnk");
  EXPECT_EQ(plan.deletions[1].stopFolder, "C:\\Menu\\Programs");
  EXPECT_EQ(plan.header, "Pelorin\r\n1.2\r\nPelorin.exe\r\n");
}

TEST(RemovalPlan, RemovesOnlyTheRecordedInstallFolderAndThoseAboveIt) {
  const String record = "C:\\Games\\Brackwater\r\nC:\\Games\\Brackwater\\Pelorin\r\nc:\\games\\brackwater\\\r\n"
                             "C:\\Games\\Other\r\nC:\\\r\nC:\r\nC:\\Games\\Brackwater\\Pelorin\\bin\r\n";
  const RemovalPlan plan = PlanRemoval("Pelorin\r\n1.2\r\n\r\n", record, kPlaces);
  EXPECT_EQ(plan.folders, (std::vector<String>{"C:\\Games\\Brackwater\\Pelorin", "C:\\Games\\Brackwater"}));
  // An install folder setup did not make (it was there, empty, before) stays.
  EXPECT_TRUE(PlanRemoval("Pelorin\r\n1.2\r\n\r\n", "", kPlaces).folders.empty());
  EXPECT_EQ(PlanRemoval("Pelorin\r\n1.2\r\n\r\n", "C:\\Games\\Brackwater\r\n", kPlaces).folders,
            std::vector<String>{"C:\\Games\\Brackwater"});
}

}  // namespace
}  // namespace pelorin
