#include "FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "FileSystem_posix.h"
#include "FolderRights.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Numbers handed out in turn, as the system's generator would.
std::uint64_t NextNumber() {
  static std::uint64_t next = 0;
  return next++;
}

class RightsRecordingFiles : public PosixFileSystem {
 public:
  std::vector<std::string> rights;
  FileError CreateFolderWithRights(const std::string& path, const std::string& rightsText) override {
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
  const std::string root = temp.Path();
  const PrivateFolderSource source{"S-1-5-21-7-1001", NextNumber};
  const std::uint64_t first = NextNumber() + 1;
  const auto name = [&](std::uint64_t n) { return UnpredictableName("Run-", n); };
  temp.MakeFolder(name(first));
  temp.Write(name(first + 1), "x");
  std::filesystem::create_directory_symlink(root + "/" + name(first), root + "/" + name(first + 2));
  std::filesystem::create_symlink(root + "/nowhere", root + "/" + name(first + 3));

  std::string made;
  ASSERT_FALSE(CreatePrivateFolder(files, root, "Run-", source, made));
  EXPECT_EQ(made, temp.Path(name(first + 4)));
  EXPECT_TRUE(files.FolderExists(made));
  EXPECT_FALSE(files.IsReparsePoint(made));
  EXPECT_EQ(files.rights, std::vector<std::string>{FolderRightsText(FolderUse::kPrivate, source.userSid)});
  // Where no name is left, or no generator, the failure is reported.
  EXPECT_TRUE(CreatePrivateFolder(files, temp.Path("missing"), "Run-", source, made));
  EXPECT_TRUE(CreatePrivateFolder(files, root, "Run-", {}, made));
}

// The rights each folder is made with: nobody but SYSTEM, the administrators and (for a run's
// own folder) the running account may change anything, and nothing comes from the parent.
TEST(FolderRightsText, NamesOnlyTheAccountsThatMayWrite) {
  const std::string kBase = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
  const struct {
    FolderUse use;
    const char* sid;
    std::string text;
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
  const std::string self = "S-1-5-21-1-2-3-500";
  const struct {
    const char* owner;
    bool trusted;
  } cases[] = {{"S-1-5-18", true},          {"S-1-5-32-544", true}, {"S-1-5-21-1-2-3-500", true},
               {"S-1-5-21-1-2-3-1001", false}, {"S-1-5-32-545", false}, {"S-1-1-0", false}, {"", true}};
  for (const auto& c : cases) EXPECT_EQ(IsOwnedByTrustedAccount(c.owner, self), c.trusted) << c.owner;
  EXPECT_FALSE(IsOwnedByTrustedAccount("S-1-5-21-1-2-3-1001", ""));
}

// A file created new is never one someone placed first: a planted link or file is an error,
// and a replacement writes through neither a planted ".tmp" nor any other name beside it: its
// temporary file has a name nobody can foresee, which the uninstaller still recognises.
TEST(WriteNewFile, NeverWritesThroughWhatIsThere) {
  testing::TempFolder temp;
  PosixFileSystem files;
  temp.Write("theirs", "theirs");
  std::filesystem::create_symlink(temp.Path() + "/theirs", temp.Path() + "/link");
  EXPECT_TRUE(files.WriteNewFile(temp.Path("link"), "mine"));
  EXPECT_TRUE(files.WriteNewFile(temp.Path("theirs"), "mine"));
  std::unique_ptr<FileWriter> writer;
  EXPECT_TRUE(files.OpenForWriting(temp.Path("link"), false, writer));

  temp.Write("settings.ini", "old");
  std::filesystem::create_hard_link(temp.Path() + "/theirs", temp.Path() + "/settings.ini.tmp");
  EXPECT_FALSE(ReplaceFileContents(files, temp.Path("settings.ini"), "new"));
  EXPECT_EQ(temp.Read("settings.ini"), "new");
  EXPECT_EQ(temp.Read("theirs"), "theirs");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 4);

  const std::string name = TemporaryNameOf("settings.ini", 0x0123456789abcdefu);
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
