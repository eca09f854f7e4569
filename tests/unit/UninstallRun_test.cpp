#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <deque>
#include <filesystem>
#include <set>

#include "FileSystem_posix.h"
#include "InstallRecord.h"
#include "MemoryRegistry.h"
#include "QuietUninstallUi.h"
#include "TextLines.h"
#include "UninstallRun.h"
#include "support/RecordingProcesses.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Every step the run takes on the outside, in order.
using Events = std::vector<String>;

class WatchedFiles : public PosixFileSystem {
 public:
  explicit WatchedFiles(Events& events) : events_(events) {}
  std::set<String> locked;  // files whose deletion is refused, as for a running program
  bool moveFails = false;         // as for a move to another drive
  bool plantBatch = false;        // another account adds a batch file to the next folder made
  std::set<String> openToOthers;  // files and folders other accounts can change
  bool OthersCanWrite(const String& path) override { return openToOthers.count(path) != 0; }
  FileError CreateFolderWithRights(const String& path, const String& rights) override {
    FileError error = PosixFileSystem::CreateFolderWithRights(path, rights);
    if (!error && plantBatch) PosixFileSystem::WriteNewFile(path + "\\uninstall.bat", "evil");
    plantBatch = false;
    return error;
  }
  FileError MoveFileOver(const String& from, const String& to) override {
    if (moveFails) return {FileError::Kind::kOther, 17, "The system cannot move the file to a different disk drive."};
    return PosixFileSystem::MoveFileOver(from, to);
  }
  FileError RemoveFile(const String& path) override {
    events_.push_back("remove " + path);
    if (locked.count(path) != 0) return {FileError::Kind::kAccessDenied, 5, "Access is denied."};
    return PosixFileSystem::RemoveFile(path);
  }

 private:
  Events& events_;
};

// Records program starts and window closes among the events.
class WatchedOutside : public testing::RecordingProcesses, public AppWindows {
 public:
  explicit WatchedOutside(Events& events) : events_(events) {}
  bool RunAndWait(const String& commandLine, unsigned long timeoutMs) override {
    events_.push_back("run " + commandLine);
    return RecordingProcesses::RunAndWait(commandLine, timeoutMs);
  }
  bool IsRunning(const ProgramWindow&) override { return false; }
  bool CloseProgram(const ProgramWindow& window, unsigned long waitMs) override {
    events_.push_back("close " + window.className + " " + window.title + " " + window.programPath + " " +
                      std::to_string(waitMs));
    return closesAfter-- <= 0;
  }
  int closesAfter = 0;  // close requests that the program ignores
  void Pause(unsigned long) override {}

 private:
  Events& events_;
};

class ScriptedUi : public UninstallUi {
 public:
  std::vector<String> told, statuses, questions;
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  std::deque<bool> answers;  // Yes when none is left
  int retries = 0;           // Retry answers before Cancel
  bool shown = false;

  void Tell(std::string_view text) override { told.emplace_back(text); }
  void Show() override { shown = true; }
  void ShowStatus(std::string_view text) override { statuses.emplace_back(text); }
  void ShowProgress(std::size_t index, std::size_t count) override { progress.emplace_back(index, count); }
  bool Ask(std::string_view text, std::string_view caption) override {
    questions.push_back(String(caption) + ": " + String(text));
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool AskRetry(std::string_view text) override {
    questions.push_back("Retry: " + String(text));
    return retries-- > 0;
  }
};

// What the system's generator gives next: each run's first folder ends in 2a.
std::uint64_t nextFolderNumber = 0x2a;

class UninstallRunTest : public ::testing::Test {
 protected:
  UninstallRunTest() {
    place_.programPath = temp_.Path("app\\Uninstall.exe");
    place_.systemFolder = temp_.Path("sys");
    place_.temporaryFolder = temp_.Path("tmp");
    nextFolderNumber = 0x2a;
    place_.folderSource = {"S-1-5-21-1", [] { return nextFolderNumber++; }};
    place_.programsFolders = {temp_.Path("menu\\Programs")};
    temp_.MakeFolder("tmp");
    temp_.Write("app\\Uninstall.exe", "MZ");
    temp_.Write("app\\folders.log", temp_.Path("app") + "\r\n");  // setup made the install folder
  }

  UninstallEnd Run() { return RunUninstall({files_, registry_, processes_, processes_, ui_}, place_); }

  String Installed(const String& relative) const { return temp_.Path("app\\" + relative); }

  testing::TempFolder temp_;
  Events events_;
  WatchedFiles files_{events_};
  MemoryRegistry registry_;
  WatchedOutside processes_{events_};
  ScriptedUi ui_;
  UninstallPlace place_;
};

TEST_F(UninstallRunTest, MissingLogOnlySaysSo) {
  EXPECT_EQ(Run(), UninstallEnd::kLogMissing);
  EXPECT_EQ(ui_.told, std::vector<String>{"Install.log not found!"});
  EXPECT_FALSE(ui_.shown);
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(processes_.started.empty());
}

// An install removes its own registration only: the account's where that names its folder,
// leaving the machine's install beside it; one for every user needs administrator rights
// before anything is asked or changed.
TEST_F(UninstallRunTest, RemovesThroughItsOwnScopesRegistration) {
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\nPelorin.exe\r\n");
  temp_.Write("app\\Pelorin.exe", "MZ");
  const String key = UninstallKeyPath("Pelorin");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, key, "InstallLocation", temp_.Path("machine"));
  place_.elevated = false;
  EXPECT_EQ(Run(), UninstallEnd::kNeedsRights);
  EXPECT_TRUE(ui_.questions.empty());
  EXPECT_TRUE(temp_.Exists("app\\Pelorin.exe"));

  registry_.SetKeyValue(RegistryRoot::kCurrentUser, key, "InstallLocation", Installed(""));
  ui_.answers = {true};
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  EXPECT_FALSE(temp_.Exists("app\\Pelorin.exe"));
  EXPECT_FALSE(registry_.HasKey(RegistryRoot::kCurrentUser, key));
  EXPECT_TRUE(registry_.HasKey(RegistryRoot::kLocalMachine, key));
}

TEST_F(UninstallRunTest, AnsweringNoRemovesNothing) {
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\nPelorin.exe\r\n");
  temp_.Write("app\\Pelorin.exe", "MZ");
  ui_.answers = {false};
  EXPECT_EQ(Run(), UninstallEnd::kDeclined);
  EXPECT_EQ(ui_.questions, std::vector<String>{"Proceed with Uninstall?: Are you sure you want to Uninstall Pelorin v1.2?"});
  EXPECT_EQ(ui_.statuses, std::vector<String>{"Preparing to Uninstall..."});
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(temp_.Exists("app\\install.log"));
  EXPECT_FALSE(temp_.Exists("tmp\\PelorinUninstall-000000000000002a"));
}

TEST_F(UninstallRunTest, RemovesWhatTheLogNamesInOrderAndHandsOverToTheBatchFile) {
  const String shortcut = temp_.Path("menu\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk");
  const String shared = temp_.Path("sys\\shared.dll");
  const String kept = temp_.Path("sys\\kept.dll");
  temp_.Write("app\\install.log", "Pel\\or/in\r\n1.2\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\n"
                                  "data\\deep\\a.txt\r\n$" + shared + "\r\n$" + kept + "\r\n&" + shortcut + "\r\n");
  for (const char* file : {"app\\Pelorin.exe", "app\\data\\deep\\a.txt", "sys\\shared.dll", "sys\\kept.dll",
                           "menu\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk", "menu\\Programs\\other.lnk"})
    temp_.Write(file, "x");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pel\\or/in"), "DisplayName", "x");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Other"), "DisplayName", "x");
  ui_.answers = {true, true, false};

  EXPECT_EQ(Run(), UninstallEnd::kRemoved);

  // The editor was asked to close, then told of its removal, before any file went; the
  // uninstaller's own file is left to the batch file.
  ASSERT_GE(events_.size(), 3u);
  EXPECT_EQ(events_[0], "close PelorinMain Pel\\or/in " + Installed("Pelorin.exe") + " 10000");
  EXPECT_EQ(events_[1], "run \"" + Installed("Pelorin.exe") + "\" uninstall");
  EXPECT_EQ(events_[2], "remove " + Installed("Pelorin.exe"));
  EXPECT_EQ(processes_.started[0].timeoutMs, kProgramWaitMs);
  EXPECT_EQ(processes_.started[1].commandLine, "\"" + temp_.Path("sys\\regsvr32.exe") + "\" /u /s \"" + shared + "\"");
  EXPECT_TRUE(processes_.started[1].waited);

  EXPECT_EQ(ui_.questions.size(), 3u);
  EXPECT_EQ(ui_.questions[1], "Uninstall System File?: " + shared + " was installed by Pel\\or/in but could "
                              "possibly be used by other programs.  Are you sure you want to Uninstall it?");
  EXPECT_FALSE(temp_.Exists("sys\\shared.dll"));
  EXPECT_TRUE(temp_.Exists("sys\\kept.dll"));
  EXPECT_FALSE(temp_.Exists("app\\Pelorin.exe"));
  EXPECT_FALSE(temp_.Exists("app\\data"));
  EXPECT_FALSE(temp_.Exists("menu\\Programs\\Brackwater"));
  EXPECT_TRUE(temp_.Exists("menu\\Programs\\other.lnk"));
  // The uninstaller moved itself into the batch file's folder and removed the install
  // folder; the batch file only has that folder left to remove.
  EXPECT_FALSE(temp_.Exists("app"));
  EXPECT_FALSE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Pel\\or/in")));
  EXPECT_TRUE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Other")));
  const String batchFolder = temp_.Path("tmp\\PelorinUninstall-000000000000002a");
  EXPECT_EQ(temp_.Read("tmp\\PelorinUninstall-000000000000002a\\Uninstall.exe"), "MZ");
  EXPECT_EQ(temp_.Read("tmp\\PelorinUninstall-000000000000002a\\uninstall.bat"),
            SelfRemovalBatch({batchFolder + "\\Uninstall.exe", batchFolder, place_.systemFolder, {}}));
  ASSERT_EQ(processes_.started.size(), 3u);
  EXPECT_EQ(processes_.started[2].commandLine, SelfRemovalCommand(place_.systemFolder, batchFolder + "\\uninstall.bat"));
  EXPECT_EQ(processes_.started[2].show, WindowShow::kHidden);
  EXPECT_FALSE(processes_.started[2].waited);

  EXPECT_EQ(ui_.progress.size(), 5u);
  EXPECT_EQ(ui_.progress.back(), (std::pair<std::size_t, std::size_t>{4, 5}));
}

TEST_F(UninstallRunTest, TamperedLogTouchesNothingOutsideItsPlaces) {
  temp_.Write("outside.txt", "x");
  temp_.Write("sys\\sub\\deep.dll", "x");
  temp_.Write("notes.lnk", "x");
  temp_.Write("outside\\secret.txt", "x");
  temp_.MakeFolderLink("outside", "app\\linked");
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\n..\\outside.txt\r\n..\\outside.txt\r\n" + temp_.Path("outside.txt") +
                                      "\r\n$" + temp_.Path("sys\\sub\\deep.dll") + "\r\n$" + temp_.Path("outside.txt") +
                                      "\r\n&" + temp_.Path("notes.lnk") + "\r\nlinked\\secret.txt\r\n");
  EXPECT_EQ(Run(), UninstallEnd::kIncomplete);
  EXPECT_TRUE(temp_.Exists("outside.txt"));
  EXPECT_TRUE(temp_.Exists("sys\\sub\\deep.dll"));
  EXPECT_TRUE(temp_.Exists("notes.lnk"));
  EXPECT_TRUE(temp_.Exists("outside\\secret.txt"));
  EXPECT_EQ(ui_.questions.size(), 1u) << "only the confirmation is asked";
  EXPECT_TRUE(processes_.started.empty()) << "the main program path climbs out: neither closed nor started";
  ASSERT_EQ(ui_.told.size(), 1u);
  EXPECT_NE(ui_.told[0].find(Installed("linked\\secret.txt") + ": a folder on its way is a link"), String::npos);
}

TEST_F(UninstallRunTest, ALogWithoutItsHeaderChangesNothing) {
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "DisplayName", "x");
  for (const String log : {"Pelorin\r\n1.2\r\n", "\r\n\r\n\r\nPelorin.exe\r\n"}) {
    temp_.Write("app\\install.log", log);
    temp_.Write("app\\Pelorin.exe", "MZ");
    ui_.told.clear();
    EXPECT_EQ(Run(), UninstallEnd::kLogMissing);
    ASSERT_EQ(ui_.told.size(), 1u);
    EXPECT_NE(ui_.told[0].find(Installed("install.log")), String::npos) << ui_.told[0];
  }
  EXPECT_FALSE(ui_.shown);
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(processes_.started.empty());
  EXPECT_TRUE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin")));
}

// A file that cannot go stays named in the log, with the registration and the uninstaller,
// so that a second run finishes what the first left.
TEST_F(UninstallRunTest, AFileThatStaysKeepsTheLogAndTheRegistration) {
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\nPelorin.exe\r\nreadme.txt\r\nbin\\a.dll\r\n");
  for (const char* file : {"app\\Pelorin.exe", "app\\readme.txt", "app\\bin\\a.dll"}) temp_.Write(file, "x");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "DisplayName", "x");
  files_.locked = {Installed("bin\\a.dll")};

  EXPECT_EQ(Run(), UninstallEnd::kIncomplete);
  EXPECT_FALSE(temp_.Exists("app\\readme.txt"));
  EXPECT_EQ(temp_.Read("app\\install.log"), "Pelorin\r\n1.2\r\nPelorin.exe\r\nbin\\a.dll\r\n");
  EXPECT_FALSE(temp_.Exists("app\\install.log.tmp"));
  EXPECT_TRUE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin")));
  EXPECT_FALSE(temp_.Exists("tmp\\PelorinUninstall-000000000000002a"));
  ASSERT_EQ(ui_.told.size(), 1u);
  EXPECT_NE(ui_.told[0].find(Installed("bin\\a.dll") + ": Access is denied."), String::npos) << ui_.told[0];

  files_.locked.clear();
  ui_.told.clear();
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  EXPECT_FALSE(temp_.Exists("app\\bin"));
  EXPECT_FALSE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin")));
  EXPECT_TRUE(ui_.told.empty());
}

TEST_F(UninstallRunTest, AnEditorThatDoesNotEndStopsTheRemoval) {
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\nPelorin.exe\r\n");
  temp_.Write("app\\Pelorin.exe", "MZ");
  processes_.closesAfter = 100;
  ui_.retries = 1;
  EXPECT_EQ(Run(), UninstallEnd::kEditorRunning);
  ASSERT_EQ(ui_.questions.size(), 3u);
  EXPECT_EQ(ui_.questions[1].rfind("Retry: Pelorin (" + Installed("Pelorin.exe") + ") is still running.", 0), 0u);
  QuietUninstallUi quiet;
  EXPECT_EQ(RunUninstall({files_, registry_, processes_, processes_, quiet}, place_), UninstallEnd::kEditorRunning);
  EXPECT_TRUE(temp_.Exists("app\\Pelorin.exe"));
  EXPECT_TRUE(temp_.Exists("app\\install.log"));
  EXPECT_TRUE(processes_.started.empty());

  processes_.closesAfter = 1;
  ui_.retries = 1;
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  EXPECT_FALSE(temp_.Exists("app\\Pelorin.exe"));
}

// When the editor cannot drop its own key, the uninstaller does; a registration of another
// install of the same name keeps it and its shortcuts.
TEST_F(UninstallRunTest, AnotherInstallsRegistrationAndShortcutsStay) {
  const String shortcut = temp_.Path("menu\\Programs\\Pelorin.lnk");
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\nreadme.txt\r\n&" + shortcut + "\r\n");
  temp_.Write("app\\readme.txt", "x");
  temp_.Write("menu\\Programs\\Pelorin.lnk", "x");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "InstallLocation", temp_.Path("other"));
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater\\Pelorin", "Version", "1.2");
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  EXPECT_FALSE(temp_.Exists("app\\readme.txt"));
  EXPECT_TRUE(temp_.Exists("menu\\Programs\\Pelorin.lnk"));
  EXPECT_TRUE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin")));
  EXPECT_FALSE(registry_.HasKey(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater\\Pelorin"));

  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\n&" + shortcut + "\r\n");
  temp_.Write("app\\Uninstall.exe", "MZ");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "InstallLocation", temp_.Path("APP"));
  // The same folder in other letter case is this install.
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  EXPECT_FALSE(temp_.Exists("menu\\Programs\\Pelorin.lnk"));
  EXPECT_FALSE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin")));
}

TEST(RemoveEmptyFolders, RemovesEmptyFoldersUpToTheStopFolder) {
  testing::TempFolder temp;
  PosixFileSystem files;
  temp.MakeFolder("a\\b\\c\\d");
  RemoveEmptyFolders(files, temp.Path("a\\b\\c\\d"), temp.Path("a\\b"));
  EXPECT_FALSE(temp.Exists("a\\b\\c"));
  EXPECT_TRUE(temp.Exists("a\\b"));
  temp.MakeFolder("a\\b\\c\\d");
  temp.Write("a\\b\\keep.txt", "x");
  RemoveEmptyFolders(files, temp.Path("a\\b\\c\\d"), temp.Path("a"));
  EXPECT_FALSE(temp.Exists("a\\b\\c"));
  EXPECT_TRUE(temp.Exists("a\\b\\keep.txt"));
}

TEST(BarFill, FillsInProportionAndFullAfterTheLastEntry) {
  EXPECT_EQ(BarFill(0, 1, 313), 313);
  EXPECT_EQ(BarFill(0, 3, 300), 0);
  EXPECT_EQ(BarFill(1, 3, 300), 150);
  EXPECT_EQ(BarFill(2, 3, 300), 300);
  EXPECT_EQ(BarFill(1999999, 4000000, 313), 156);
}

// "/S": no question; the shared system file stays, everything else goes as after a Yes. An
// editor in a folder that other accounts can change is not started with the uninstaller's
// rights: its key is removed directly.
TEST_F(UninstallRunTest, AQuietRunRemovesAllButSharedSystemFiles) {
  const String shared = temp_.Path("sys\\shared.dll");
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\nPelorin.exe\r\n$" + shared + "\r\n");
  temp_.Write("app\\Pelorin.exe", "MZ");
  temp_.Write("sys\\shared.dll", "x");
  files_.openToOthers = {temp_.Path("app")};
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater\\Pelorin", "Version", "1.2");
  QuietUninstallUi quiet;
  EXPECT_EQ(RunUninstall({files_, registry_, processes_, processes_, quiet}, place_), UninstallEnd::kRemoved);
  EXPECT_EQ(events_[0].rfind("close PelorinMain Pelorin ", 0), 0u);
  EXPECT_EQ(events_[1], "remove " + Installed("Pelorin.exe"));
  EXPECT_FALSE(registry_.HasKey(RegistryRoot::kLocalMachine, "SOFTWARE\\Brackwater\\Pelorin"));
  EXPECT_FALSE(temp_.Exists("app\\Pelorin.exe"));
  EXPECT_TRUE(temp_.Exists("sys\\shared.dll"));
  EXPECT_TRUE(temp_.Exists("tmp\\PelorinUninstall-000000000000002a\\uninstall.bat"));
  EXPECT_EQ(RunUninstall({files_, registry_, processes_, processes_, quiet}, place_), UninstallEnd::kLogMissing);
}

// The copies the uninstaller started: copy, install folder and folder levels.
std::vector<String> startedCopies;
bool startCopyWorks = true;

// An uninstaller that cannot move itself (another drive) copies itself into its own folder
// and starts the copy, which deletes the original once it has ended; the editor's files go
// at once, and the batch file names nothing in the install folder, where a setup started
// next may be writing. A copy that does not start is gone again, and the run says so.
TEST_F(UninstallRunTest, WhatCannotMoveIsCopiedAndTheBatchFileKeepsToItsOwnFolder) {
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\n\r\n");
  temp_.Write("app\\settings.ini", "x");
  files_.moveFails = true;
  startedCopies.clear();
  place_.startCopy = [](const String& copy, const String& folder, std::size_t levels) {
    startedCopies.insert(startedCopies.end(), {copy, folder, std::to_string(levels)});
    return startCopyWorks;
  };
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  const String batchFolder = temp_.Path("tmp\\PelorinUninstall-000000000000002a");
  EXPECT_EQ(startedCopies, (std::vector<String>{batchFolder + "\\Uninstall.exe", temp_.Path("app"), "1"}));
  EXPECT_EQ(temp_.Read("tmp\\PelorinUninstall-000000000000002a\\Uninstall.exe"), "MZ");
  const String batch = temp_.Read("tmp\\PelorinUninstall-000000000000002a\\uninstall.bat");
  EXPECT_EQ(batch, SelfRemovalBatch({batchFolder + "\\Uninstall.exe", batchFolder, place_.systemFolder, {}}));
  EXPECT_EQ(batch.find(temp_.Path("app")), String::npos);
  EXPECT_FALSE(temp_.Exists("app\\settings.ini"));
  EXPECT_TRUE(temp_.Exists("app\\Uninstall.exe"));  // the copy's to delete

  // A copy that does not start is gone again; with no folder of its own to be had, none is
  // made. Either way the run says that its own file stays.
  startCopyWorks = false;
  for (const bool nameTaken : {false, true}) {
    temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\n\r\n");
    processes_.started.clear();
    if (nameTaken) place_.folderSource.randomNumber = [] { return std::uint64_t{0x2a}; };
    EXPECT_EQ(Run(), UninstallEnd::kIncomplete);
    EXPECT_TRUE(processes_.started.empty());
    EXPECT_FALSE(temp_.Exists("tmp\\PelorinUninstall-000000000000002b\\Uninstall.exe"));
  }
  startCopyWorks = true;
}

// A batch file someone else put into the run's folder first is never started: the
// uninstaller moves on to a new folder and hands over there.
TEST_F(UninstallRunTest, ABatchFileSomeoneElsePutThereIsNeverStarted) {
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\n\r\n");
  files_.plantBatch = true;
  place_.folderSource.randomNumber = [] {
    static std::uint64_t next = 0x100;
    return next++;
  };
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  EXPECT_EQ(temp_.Read("tmp\\PelorinUninstall-0000000000000100\\uninstall.bat"), "evil");
  const String second = temp_.Path("tmp\\PelorinUninstall-0000000000000101");
  EXPECT_EQ(temp_.Read("tmp\\PelorinUninstall-0000000000000101\\Uninstall.exe"), "MZ");
  EXPECT_EQ(temp_.Read("tmp\\PelorinUninstall-0000000000000101\\uninstall.bat"),
            SelfRemovalBatch({second + "\\Uninstall.exe", second, place_.systemFolder, {}}));
  EXPECT_FALSE(temp_.Exists("app"));
  ASSERT_EQ(processes_.started.size(), 1u);
  EXPECT_EQ(processes_.started[0].commandLine, SelfRemovalCommand(place_.systemFolder, second + "\\uninstall.bat"));
}

// The editor's copies in the VirtualStore go, but never through a link someone made there.
TEST_F(UninstallRunTest, VirtualStoreCopiesGoButNoLinkIsFollowed) {
  // Drive C: is a folder named so in the test's folder, the current one for this test.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(std::string(ReplaceChars(temp_.Path(), '\\', '/')));
  place_.programPath = "C:\\app\\Uninstall.exe";
  place_.virtualStore = "VS";
  temp_.MakeFolder("tmp");
  for (const bool linked : {false, true}) {
    SCOPED_TRACE(linked);
    temp_.Write("C:\\app\\install.log", "Pelorin\r\n1.2\r\n\r\n");
    temp_.Write("C:\\app\\Uninstall.exe", "MZ");
    temp_.Write("elsewhere\\settings.ini", "theirs");
    if (linked) temp_.MakeFolderLink("elsewhere", "VS\\app");
    else temp_.Write("VS\\app\\settings.ini", "copy");
    Run();
    EXPECT_FALSE(temp_.Exists("VS\\app\\settings.ini") && !linked);
    EXPECT_EQ(temp_.Read("elsewhere\\settings.ini"), "theirs");
  }
  // The settings an install for every user kept in the user's application data go with it;
  // an install for one account kept its own beside itself, and leaves those alone.
  place_.appData = "AD";
  for (const bool forAccount : {true, false}) {
    SCOPED_TRACE(forAccount);
    temp_.Write("C:\\app\\install.log", "Pelorin\r\n1.2\r\n\r\n");
    temp_.Write("C:\\app\\Uninstall.exe", "MZ");
    temp_.Write("AD\\Brackwater\\Pelorin\\settings.ini", "the user's");
    if (forAccount)
      registry_.SetKeyValue(RegistryRoot::kCurrentUser, UninstallKeyPath("Pelorin"), "InstallLocation", "C:\\app\\");
    else
      registry_.DeleteKey(RegistryRoot::kCurrentUser, UninstallKeyPath("Pelorin"));
    Run();
    EXPECT_EQ(temp_.Exists("AD\\Brackwater\\Pelorin\\settings.ini"), forAccount);
  }
  EXPECT_FALSE(temp_.Exists("AD\\Brackwater"));
  std::filesystem::current_path(std::string(before));
}

}  // namespace
}  // namespace pelorin
