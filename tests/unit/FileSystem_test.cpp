#include "FileSystem.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <filesystem>

#include "FileSystem_posix.h"
#include "FolderRights.h"
#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Numbers handed out in turn, as the system's generator would.
std::uint64_t NextNumber() {
  static std::uint64_t next = 0;
  return next++;
}

// A readable access list with its owner.
ObjectRights Rights(const String& owner, std::vector<AccessEntry> entries) {
  return ObjectRights{true, false, owner, std::move(entries)};
}

class RightsRecordingFiles : public PosixFileSystem {
 public:
  std::vector<String> rights;
  FileError CreateFolderWithRights(const String& path, const String& rightsText) override {
    rights.push_back(rightsText);
    return PosixFileSystem::CreateFolderWithRights(path, rightsText);
  }
};

// A private folder is made only where nothing stood, so that nobody can hand this run a
// folder, or a link to one, that they prepared; its name is the generator's, its rights the
// private ones.
TEST(CreatePrivateFolder, MakesOnlyANewFolderOfItsOwn) {
  testing::TempFolder temp;
  RightsRecordingFiles files;
  const String root = temp.Path();
  const PrivateFolderSource source{"S-1-5-21-7-1001", NextNumber};
  const std::uint64_t first = NextNumber() + 1;
  const auto name = [&](std::uint64_t n) { return UnpredictableName("Run-", n); };
  temp.MakeFolder(name(first));
  temp.Write(name(first + 1), "x");
  std::filesystem::create_directory_symlink(std::string(root + "/" + name(first)), std::string(root + "/" + name(first + 2)));
  std::filesystem::create_symlink(std::string(root + "/nowhere"), std::string(root + "/" + name(first + 3)));

  String made;
  ASSERT_FALSE(CreatePrivateFolder(files, root, "Run-", source, made));
  EXPECT_EQ(made, temp.Path(name(first + 4)));
  EXPECT_TRUE(files.FolderExists(made));
  EXPECT_FALSE(files.IsReparsePoint(made));
  EXPECT_EQ(files.rights, std::vector<String>{FolderRightsText(FolderUse::kPrivate, source.userSid)});
  // Where no name is left, or no generator, the failure is reported.
  EXPECT_TRUE(CreatePrivateFolder(files, temp.Path("missing"), "Run-", source, made));
  EXPECT_TRUE(CreatePrivateFolder(files, root, "Run-", {}, made));
}

// The rights each folder is made with: nobody but SYSTEM, the administrators and (for a run's
// own folder) the running account may change anything, and nothing comes from the parent.
TEST(FolderRightsText, NamesOnlyTheAccountsThatMayWrite) {
  const String kBase = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
  const struct {
    FolderUse use;
    const char* sid;
    String text;
  } cases[] = {
      {FolderUse::kPrivate, "S-1-5-21-1-2-3-1001", kBase + "(A;OICI;FA;;;S-1-5-21-1-2-3-1001)"},
      {FolderUse::kPrivate, "S-1-5-18", kBase},  // SYSTEM, named already
      {FolderUse::kPrivate, "", kBase},
      {FolderUse::kPrivate, "S-1-5-21)(A;OICI;FA;;;WD", kBase},  // never text of another entry
      {FolderUse::kPrivate, "WD", kBase},
      {FolderUse::kInstall, "S-1-5-21-1-2-3-1001", kBase + "(A;OICI;0x1200a9;;;BU)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sid);
    EXPECT_EQ(FolderRightsText(c.use, c.sid), c.text);
  }
  EXPECT_EQ(UnpredictableName("P-", 0xA1B2), "P-000000000000a1b2");
}

// Only SYSTEM's, the Administrators' or this account's own setup mutex holds setup back.
TEST(IsOwnedByTrustedAccount, OnlySystemAdministratorsOrThisAccount) {
  const String self = "S-1-5-21-1-2-3-500";
  const struct {
    const char* owner;
    bool trusted;
  } cases[] = {{"S-1-5-18", true},          {"S-1-5-32-544", true}, {"S-1-5-21-1-2-3-500", true},
               {"S-1-5-21-1-2-3-1001", false}, {"S-1-5-32-545", false}, {"S-1-1-0", false}, {"", true}};
  for (const auto& c : cases) EXPECT_EQ(IsOwnedByTrustedAccount(c.owner, self), c.trusted) << c.owner;
  EXPECT_FALSE(IsOwnedByTrustedAccount("S-1-5-21-1-2-3-1001", ""));
}

// Which access lists let an account other than SYSTEM, the administrators, TrustedInstaller or
// the one running change a folder or file.
TEST(OthersCanWrite, AnyChangingRightOfAnotherAccountCounts) {
  const String self = "S-1-5-21-9-9-9-1000", ti = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
  const std::uint32_t kFull = 0x1F01FF, kModify = 0x1301BF, kReadExecute = 0x1200A9, kGenericAll = 0x10000000;
  const AccessEntry programFiles[] = {{ti, true, kFull},
                                     {"S-1-5-18", true, kModify},
                                     {"S-1-5-18", true, kGenericAll, true},
                                     {"S-1-5-32-544", true, kModify},
                                     {"S-1-5-32-545", true, kReadExecute},
                                     {"S-1-3-0", true, kGenericAll, true},  // CREATOR OWNER, for what is made inside
                                     {"S-1-15-2-1", true, kReadExecute}};
  const struct {
    const char* what;
    ObjectRights rights;
    bool open;
  } cases[] = {
      {"Program Files", Rights(ti, {std::begin(programFiles), std::end(programFiles)}), false},
      {"as Wine shows every folder", Rights(self, {{self, true, kFull}, {"S-1-1-0", true, kReadExecute}}), false},
      {"made by setup", Rights("S-1-5-32-544", {{"S-1-5-18", true, kFull}, {"S-1-5-32-544", true, kFull},
                                                {"S-1-5-32-545", true, kReadExecute}}), false},
      {"a folder on drive C", Rights(self, {{"S-1-5-11", true, kModify}}), true},
      {"users may add folders", Rights(self, {{"S-1-5-32-545", true, 0x4}}), true},
      {"users may change the rights", Rights(self, {{"S-1-5-32-545", true, 0x40000}}), true},
      {"everyone may write", Rights(self, {{"S-1-1-0", true, 0x40000000}}), true},
      {"handed down to subfolders only", Rights(self, {{"S-1-5-32-545", true, kGenericAll, true}}), false},
      // Every file written into the folder gets these: Uninstall.exe would be the users'.
      {"handed down to files only", Rights(self, {{"S-1-5-32-545", true, kModify, true, true}}), true},
      {"files' maker", Rights(self, {{"S-1-3-0", true, kGenericAll, true, true}}), false},
      {"denied to files first", Rights(self, {{"S-1-1-0", false, kModify, true, true}, {"S-1-5-11", true, kModify, true, true}}), false},
      {"another account owns it", Rights("S-1-5-21-9-9-9-1001", {}), true},
      {"its owner may only read", Rights("S-1-5-21-9-9-9-1001", {{"S-1-3-4", true, kReadExecute}}), false},
      {"its owner may write", Rights("S-1-5-21-9-9-9-1001", {{"S-1-3-4", true, kModify}}), true},
      {"denied first", Rights(self, {{"S-1-1-0", false, kModify & ~kReadExecute}, {"S-1-5-11", true, kModify}}), false},
      {"denied after", Rights(self, {{"S-1-5-11", true, kModify}, {"S-1-1-0", false, kModify}}), true},
      {"no access list", {true, true, self, {}}, true},
      {"unreadable", {}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(OthersCanWrite(c.rights, self), c.open) << c.what;
  // Without the running account, its own entry is another account's.
  EXPECT_TRUE(OthersCanWrite(Rights("S-1-5-32-544", {{self, true, kFull}}), ""));
}

// What takes a folder out of a path: deleting or renaming it or what it holds, or changing
// its rights or owner. Adding to it does not; a drive root lets every user add folders.
TEST(OthersCanMoveAway, DeleteRenameOrRepermitCounts) {
  const String self = "S-1-5-21-9-9-9-1000";
  const std::uint32_t kModify = 0x1301BF;
  const struct {
    const char* what;
    ObjectRights rights;
    bool open;
  } cases[] = {
      {"drive root", Rights("S-1-5-18", {{"S-1-5-11", true, 0x4}, {"S-1-5-11", true, kModify, true, true}}), false},
      {"made by a user on the root", Rights("S-1-5-21-9-9-9-1001", {{"S-1-5-11", true, kModify}}), true},
      {"users may delete children", Rights("S-1-5-32-544", {{"S-1-5-32-545", true, 0x40}}), true},
      {"users may take ownership", Rights("S-1-5-32-544", {{"S-1-5-32-545", true, 0x80000}}), true},
      {"unreadable", {}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(OthersCanMoveAway(c.rights, self), c.open) << c.what;
  // A data drive's root lets every user modify it, which deletes nothing there.
  const ObjectRights dataDrive = Rights("S-1-5-32-544", {{"S-1-5-11", true, kModify, false, true}});
  EXPECT_FALSE(OthersCanMoveAway(dataDrive, self, true));
  EXPECT_TRUE(OthersCanMoveAway(Rights("S-1-5-32-544", {{"S-1-5-11", true, 0x40}}), self, true));
}

// An install for one account goes into a folder of its own: one it owns, or one of its
// profile, which SYSTEM owns and which names the account itself; never a folder of the machine's.
TEST(IsAccountsOwn, OwnedOrNamedInItsProfile) {
  const String self = "S-1-5-21-9-9-9-1000";
  const struct {
    const char* what;
    ObjectRights rights;
    bool own;
  } cases[] = {
      {"its own", Rights(self, {}), true},
      {"its profile", Rights("S-1-5-18", {{"S-1-5-18", true, 0x1F01FF}, {self, true, 0x1F01FF}}), true},
      {"Program Files", Rights("S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
                                {{"S-1-5-32-545", true, 0x1200A9}}), false},
      {"read only for it", Rights("S-1-5-32-544", {{self, true, 0x1200A9}}), false},
      {"another account's", Rights("S-1-5-21-9-9-9-1001", {{self, true, 0x1F01FF}}), false},
      {"unreadable", {}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAccountsOwn(c.rights, self), c.own) << c.what;
}

// The whole path is judged: every existing folder from the root down, when it is used.
TEST(InstallPathProblem, EveryFolderOnTheWayCounts) {
  testing::TempFolder temp;
  testing::FaultyFileSystem files;
  temp.MakeFolder("Tools");
  temp.MakeFolder("Elsewhere\\Pelorin");
  temp.MakeFolderLink("Elsewhere", "Link");
  temp.Write("File", "x");
  const struct {
    const char* what;
    const char* path;
    const char* open;     // others can change it
    const char* movable;  // others can move it away
    const char* foreign;  // not the running account's
    InstallScope scope;
    bool refused;
  } cases[] = {
      {"a new folder in a protected one", "Tools\\Pelorin", "", "", "", InstallScope::kMachine, false},
      {"others may add to the parent", "Tools\\Pelorin", "Tools", "", "", InstallScope::kMachine, false},
      {"a renameable parent", "Tools\\Pelorin", "", "Tools", "", InstallScope::kMachine, true},
      {"the folder itself open", "Tools", "Tools", "", "", InstallScope::kMachine, true},
      {"a junction on the way", "Link\\Pelorin", "", "", "", InstallScope::kMachine, true},
      {"a file on the way", "File\\Pelorin", "", "", "", InstallScope::kMachine, true},
      {"the machine's folder for the machine", "Tools\\Pelorin", "", "", "Tools", InstallScope::kMachine, false},
      {"the machine's folder for one account", "Tools\\Pelorin", "", "", "Tools", InstallScope::kUser, true},
      {"the account's own folder", "Tools\\Pelorin", "", "", "", InstallScope::kUser, false},
  };
  const auto at = [&](const char* relative) { return *relative ? temp.Path(relative) : String(); };
  for (const auto& c : cases) {
    files.openToOthers = {at(c.open)};
    files.movableByOthers = {at(c.movable)};
    // Only the deepest existing folder must be the account's: the one above all is not.
    files.notOwned = {at(c.foreign), temp.Path()};
    EXPECT_EQ(InstallPathProblem(files, temp.Path(c.path), c.scope) != nullptr, c.refused) << c.what;
  }
  // A folder planted between the choice and its use is judged when it is used.
  files.openToOthers = files.movableByOthers = files.notOwned = {};
  EXPECT_EQ(InstallPathProblem(files, temp.Path("Tools\\Pelorin"), InstallScope::kMachine), nullptr);
  temp.MakeFolder("Tools\\Pelorin");
  files.openToOthers = {temp.Path("Tools\\Pelorin")};
  EXPECT_NE(InstallPathProblem(files, temp.Path("Tools\\Pelorin"), InstallScope::kMachine), nullptr);
}

// Setup reads its pack only from the file the system started it from: the mapped image's
// name follows the file through a rename, the path it was started by does not.
TEST(IsMappedFile, TheSameFileByTheSystemsNames) {
  const struct {
    const char* mapped;
    const char* nt;
    const char* dos;
    bool same;
  } cases[] = {
      {"\\Device\\HarddiskVolume3\\Dl\\setup.exe", "\\Device\\HarddiskVolume3\\dl\\SETUP.exe", "\\\\?\\C:\\dl\\setup.exe", true},
      {"\\Device\\HarddiskVolume3\\Dl\\old.exe", "\\Device\\HarddiskVolume3\\Dl\\setup.exe", "\\\\?\\C:\\Dl\\setup.exe", false},
      {"\\??\\C:\\dl\\setup.exe", "\\Device\\HarddiskVolume1\\dl\\setup.exe", "\\\\?\\C:\\dl\\setup.exe", true},  // Wine
      {"\\??\\C:\\dl\\setup.exe", "\\Device\\HarddiskVolume1\\dl\\setup.exe", "\\\\?\\D:\\dl\\setup.exe", false},
      {"", "", "", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsMappedFile(c.mapped, c.nt, c.dos), c.same) << c.mapped << " " << c.nt;
}

// The programs that run with an administrator's rights: only a file in a folder that no other
// account can change, and no link.
TEST(MayStartElevated, OnlyWhereNobodyElseCanChangeIt) {
  testing::TempFolder temp;
  testing::FaultyFileSystem files;
  temp.Write("app\\Pelorin.exe", "MZ");
  std::filesystem::create_symlink(std::string(temp.Path() + "/app/Pelorin.exe"), std::string(temp.Path() + "/app/Link.exe"));
  const struct {
    const char* program;
    const char* open;
    bool may;
  } cases[] = {
      {"app\\Pelorin.exe", "", true},  {"app\\Pelorin.exe", "app", false}, {"app\\Pelorin.exe", "app\\Pelorin.exe", false},
      {"app\\Missing.exe", "", false}, {"app\\Link.exe", "", false},
  };
  for (const auto& c : cases) {
    files.openToOthers = {temp.Path(c.open)};
    EXPECT_EQ(MayStartElevated(files, temp.Path(c.program)), c.may) << c.program << " " << c.open;
  }
  // The same rule as an install path: a folder above that others can rename is no protection.
  files.openToOthers = {};
  files.movableByOthers = {temp.Path()};
  EXPECT_FALSE(MayStartElevated(files, temp.Path("app\\Pelorin.exe")));
}

// A file created new is never one someone placed first: a planted link or file is an error,
// and a replacement writes through neither a planted ".tmp" nor any other name beside it: its
// temporary file has a name nobody can foresee, which the uninstaller still recognises.
TEST(WriteNewFile, NeverWritesThroughWhatIsThere) {
  testing::TempFolder temp;
  PosixFileSystem files;
  temp.Write("theirs", "theirs");
  std::filesystem::create_symlink(std::string(temp.Path() + "/theirs"), std::string(temp.Path() + "/link"));
  EXPECT_TRUE(files.WriteNewFile(temp.Path("link"), "mine"));
  EXPECT_TRUE(files.WriteNewFile(temp.Path("theirs"), "mine"));
  std::unique_ptr<FileWriter> writer;
  EXPECT_TRUE(files.OpenForWriting(temp.Path("link"), false, writer));

  temp.Write("settings.ini", "old");
  std::filesystem::create_hard_link(std::string(temp.Path() + "/theirs"), std::string(temp.Path() + "/settings.ini.tmp"));
  EXPECT_FALSE(ReplaceFileContents(files, temp.Path("settings.ini"), "new"));
  EXPECT_EQ(temp.Read("settings.ini"), "new");
  EXPECT_EQ(temp.Read("theirs"), "theirs");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::string(temp.Path())), {}), 4);

  const String name = TemporaryNameOf("settings.ini", 0x0123456789abcdefu);
  EXPECT_EQ(name, "settings.ini.0123456789abcdef.tmp");
  EXPECT_NE(TemporaryNameOf("settings.ini", files.RandomNumber()), TemporaryNameOf("settings.ini", files.RandomNumber()));
  for (const auto& [candidate, recognised] : std::initializer_list<std::pair<const char*, bool>>{
           {"settings.ini.0123456789abcdef.tmp", true}, {"SETTINGS.INI.0123456789ABCDEF.TMP", true},
           {"settings.ini.tmp", false}, {"settings.ini.0123456789abcdeg.tmp", false},
           {"settings.ini.0123456789abcdef0.tmp", false}, {"settings.ini.0123456789abcdef.tmp.x", false},
           {"other.ini.0123456789abcdef.tmp", false}})
    EXPECT_EQ(IsTemporaryNameOf(candidate, "settings.ini"), recognised) << candidate;
}

}  // namespace
}  // namespace pelorin
