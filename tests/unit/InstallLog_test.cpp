#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "InstallLog.h"

namespace pelorin {
namespace {

using namespace std::string_literals;

// The uninstaller's own file, the records and the recorded folders are recognised however
// the log or the record spells them; an empty path is never the same as another.
TEST(InstallLog, SamePathIgnoresCaseAndTrailingBackslashesOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"C:\\Games\\Pelorin", "c:\\games\\PELORIN\\", true}, {"C:\\Games\\Pelorin\\\\", "C:\\Games\\Pelorin", true},
      {"C:\\Games\\Pelorin", "C:\\Games\\Pelorin2", false},  {"C:\\Games\\Pelorin", "C:\\Games", false},
      {"", "", false},                                          {"\\", "\\\\", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSamePath(c.a, c.b), c.same) << c.a << " | " << c.b;
    EXPECT_EQ(IsSamePath(c.b, c.a), c.same) << c.b << " | " << c.a;
  }
}

TEST(InstallLog, EntriesAreObeyedOnlyWhereSetupCouldHaveWrittenThem) {
  const String install = "C:\\Program Files\\Pelorin";
  const String menu = "C:\\Users\\me\\Start Menu\\Programs";
  const String common = "C:\\ProgramData\\Start Menu\\Programs";
  const String installWithSlash = install + "\\", uninstaller = install + "\\Uninstall.exe";
  const RemovalPlaces places{installWithSlash, uninstaller, "C:\\WINDOWS\\SYSTEM", {menu, common + "\\"}};
  struct Case {
    String entry;
    EntryKind kind;
    String path;
  };
  const Case cases[] = {
      {"Pelorin.exe", EntryKind::kInstalledFile, install + "\\Pelorin.exe"},
      {"bin\\x.dll", EntryKind::kInstalledFile, install + "\\bin\\x.dll"},
      {"..\\other.exe", EntryKind::kSkipped, ""},
      {"bin\\..\\..\\other.exe", EntryKind::kSkipped, ""},
      {"bin\\.. \\..\\other.exe", EntryKind::kSkipped, ""},
      {"bin\\...\\other.exe", EntryKind::kSkipped, ""},
      {"bin/../x", EntryKind::kSkipped, ""},
      {"C:\\AUTOEXEC.BAT", EntryKind::kSkipped, ""},
      {"\\boot.ini", EntryKind::kSkipped, ""},
      {"*.*", EntryKind::kSkipped, ""},
      {"", EntryKind::kSkipped, ""},
      {"Pelorin.exe\0.lnk"s, EntryKind::kSkipped, ""},
      {"a\tb.txt", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEM\\shared.dll", EntryKind::kSystemFile, "C:\\WINDOWS\\SYSTEM\\shared.dll"},
      {"$c:\\windows\\system\\Shared.DLL", EntryKind::kSystemFile, "c:\\windows\\system\\Shared.DLL"},
      {"$C:\\WINDOWS\\SYSTEM\\drivers\\x.sys", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEM\\..\\win.ini", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEM\\", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEM\\a/b.dll", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\explorer.exe", EntryKind::kSkipped, ""},
      {"$C:\\WINDOWS\\SYSTEMX\\a.dll", EntryKind::kSkipped, ""},
      {"$shared.dll", EntryKind::kSkipped, ""},
      {"&" + menu + "\\Brackwater\\Pelorin.lnk", EntryKind::kShortcut, menu + "\\Brackwater\\Pelorin.lnk"},
      {"&c:\\programdata\\start menu\\programs\\Old.LNK", EntryKind::kShortcut, "c:\\programdata\\start menu\\programs\\Old.LNK"},
      {"&" + menu + "\\..\\..\\Desktop\\x.lnk", EntryKind::kSkipped, ""},
      {"&" + menu + "X\\x.lnk", EntryKind::kSkipped, ""},
      {"&C:\\data\\thesis.lnk", EntryKind::kSkipped, ""},
      {"&" + "C:\\data\\thesis.docx\0.lnk"s, EntryKind::kSkipped, ""},
      {"&" + menu + "\\letter.doc", EntryKind::kSkipped, ""},
      {"&" + menu + "\\.lnk", EntryKind::kSkipped, ""},
      {"&Pelorin.lnk", EntryKind::kSkipped, ""},
  };
  for (const Case& c : cases) {
    const LogEntry got = ClassifyEntry(c.entry, places);
    EXPECT_EQ(got.kind, c.kind) << c.entry;
    EXPECT_EQ(got.path, c.path) << c.entry;
  }
  // Without a known system folder no system file is touched.
  RemovalPlaces bare = places;
  bare.systemFolder = {};
  EXPECT_EQ(ClassifyEntry("$C:\\WINDOWS\\SYSTEM\\shared.dll", bare).kind, EntryKind::kSkipped);
}

}  // namespace
}  // namespace pelorin
