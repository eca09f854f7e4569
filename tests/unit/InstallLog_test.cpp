#include <gtest/gtest.h>

#include "InstallLog.h"

namespace pelorin {
namespace {

TEST(InstallLog, ReadsHeaderAndEveryEntryWithEitherLineEnd) {
  const InstallLog log = ReadInstallLog("Pelorin\r\n1.2\rPelorin.exe\r\nUninstall.exe\rbin\\a\nb.dll\r\n");
  EXPECT_EQ(log.appName, "Pelorin");
  EXPECT_EQ(log.appVersion, "1.2");
  EXPECT_EQ(log.mainExe, "Pelorin.exe");
  EXPECT_EQ(log.entries, (std::vector<std::string>{"Uninstall.exe", "bin\\a\nb.dll"}));

  const InstallLog shortLog = ReadInstallLog("OnlyName\r\n");
  EXPECT_EQ(shortLog.appName, "OnlyName");
  EXPECT_EQ(shortLog.appVersion, "");
  EXPECT_EQ(shortLog.mainExe, "");
  EXPECT_TRUE(shortLog.entries.empty());
  EXPECT_TRUE(ReadInstallLog("").appName.empty());

  std::string big = "A\r\n1\r\n\r\n";
  for (int i = 0; i < 1500; ++i) big += "f" + std::to_string(i) + "\r\n";
  const InstallLog bigLog = ReadInstallLog(big);
  ASSERT_EQ(bigLog.entries.size(), 1500u);
  EXPECT_EQ(bigLog.entries.back(), "f1499");
  EXPECT_EQ(bigLog.mainExe, "");
}

TEST(InstallLog, EntriesAreObeyedOnlyWhereSetupCouldHaveWrittenThem) {
  const std::string install = "C:\\Program Files\\Pelorin\\";
  const std::string system = "C:\\WINDOWS\\SYSTEM";
  struct Case {
    std::string entry;
    EntryKind kind;
    std::string path;
  };
  const Case cases[] = {
      {"Pelorin.exe", EntryKind::kInstalledFile, install + "Pelorin.exe"},
      {"bin\\x.dll", EntryKind::kInstalledFile, install + "bin\\x.dll"},
      {"..\\other.exe", EntryKind::kSkipped, ""},
      {"bin\\..\\..\\other.exe", EntryKind::kSkipped, ""},
      {"C:\\AUTOEXEC.BAT", EntryKind::kSkipped, ""},
      {"\\boot.ini", EntryKind::kSkipped, ""},
      {"", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEM\\shared.dll", EntryKind::kSystemFile, "C:\\WINDOWS\\SYSTEM\\shared.dll"},
      {"$c:\\windows\\system\\Shared.DLL", EntryKind::kSystemFile, "c:\\windows\\system\\Shared.DLL"},
      {"$C:\\WINDOWS\\SYSTEM\\drivers\\x.sys", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEM\\..\\win.ini", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEM\\", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEM\\a/b.dll", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\explorer.exe", EntryKind::kSkipped, ""},
      {"$shared.dll", EntryKind::kSkipped, ""},
      {"&C:\\Start Menu\\Programs\\Pelorin.lnk", EntryKind::kShortcut, "C:\\Start Menu\\Programs\\Pelorin.lnk"},
      {"&C:\\Start Menu\\Old.LNK", EntryKind::kShortcut, "C:\\Start Menu\\Old.LNK"},
      {"&C:\\Documents\\letter.doc", EntryKind::kSkipped, ""},
      {"&C:\\Start Menu\\.lnk", EntryKind::kSkipped, ""},
      {"&Pelorin.lnk", EntryKind::kSkipped, ""},
  };
  for (const Case& c : cases) {
    const LogEntry got = ClassifyEntry(c.entry, install, system);
    EXPECT_EQ(got.kind, c.kind) << c.entry;
    EXPECT_EQ(got.path, c.path) << c.entry;
  }
  // Without a known system folder no system file is touched.
  EXPECT_EQ(ClassifyEntry("$C:\\WINDOWS\\SYSTEM\\shared.dll", install, "").kind, EntryKind::kSkipped);
}

}  // namespace
}  // namespace pelorin
