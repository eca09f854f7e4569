#include "InstallEngine.h"
#include "QuietInstallUi.h"
#include "InstallFolder.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "FolderRights.h"
#include "InstallRecord.h"
#include "TextLines.h"
#include "FileSystem_posix.h"
#include "MemoryRegistry.h"
#include "support/FakeShell.h"
#include "support/FakeWindows.h"
#include "support/FaultyFileSystem.h"
#include "support/RecordingProcesses.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

class RecordingUi : public InstallUi {
 public:
  std::vector<String> progress;  // percent text | status text
  std::vector<String> messages;
  String caption;
  int questions = 0;
  bool overwrite = true;

  bool ConfirmOverwriteOlder(const String&, const String&) override {
    ++questions;
    return overwrite;
  }
  void ShowProgress(const String& percent, const String& status) override {
    progress.push_back(percent + "|" + status);
  }
  void ShowBar(std::size_t, std::size_t) override {}
  void ShowCaption(const String& text) override { caption = text; }
  void ShowMessage(const String& text, bool) override { messages.push_back(text); }
  bool AskRetry(const String& text) override {
    messages.push_back(text);
    return retry && retry();
  }
  bool AskYesNo(const String& text) override {
    messages.push_back(text);
    return yes;
  }
  bool yes = true;
  std::function<bool()> retry;  // Cancel when not set
};

constexpr char kLink[] = "Pelorin\xFFPelorin.exe\xFEPrograms\\Brackwater\\Pelorin\\";

class InstallEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.MakeFolder("Windows\\System");
    shell_.systemFolder = folder_.Path("Windows\\System");
    shell_.startMenuFolder = folder_.Path("Start Menu");
    info_ = ParseSetupInfo(
        "Pelorin\r\n1.2 (build 16)\r\nBrackwater\r\n 1 \r\n 0 \r\n\r\n 1 \r\n 1 \r\nPelorin.exe\r\n 0 \r\n");
    shortcuts_ = {kLink};
    request_.installPath = folder_.Path("Program Files\\Brackwater\\Pelorin");
    request_.runAfterInstall = true;
    packList_ = folder_.Path("Setup.lst");
    packData_ = folder_.Path("Setup.mif");
  }

  void Pack(const std::vector<std::pair<String, String>>& items) {
    for (const auto& [name, bytes] : items) {
      folder_.Write("source", bytes);
      ASSERT_EQ(AddFile(files_, packData_, packList_, folder_.Path("source"), name).result,
                AddResult::kAdded);
    }
  }
  void PackShipped() {
    Pack({{"Uninstall.exe", "MZ uninstall"}, {"Pelorin.exe", "MZ editor"}, {"%SETUPINFO%", "info"}});
  }

  // Setup's way: the list read once and the data held open while it installs.
  InstallResult Run() {
    InstallServices services{files_, registry_, processes_, shell_, ui_, windows_};
    const PackList list = ReadPackList(files_, packList_);
    std::unique_ptr<FileReader> data;
    files_.OpenForReading(packData_, data);
    request_.info = &info_;
    request_.shortcuts = &shortcuts_;
    request_.packList = packList_;
    request_.list = &list;
    request_.data = data.get();
    return Install(services, request_);
  }

  String Log() const { return folder_.Read("Program Files\\Brackwater\\Pelorin\\install.log"); }
  String Installed(const String& name) const { return folder_.Path("Program Files\\Brackwater\\Pelorin\\" + name); }
  const MemoryRegistry::Values* Registration() const {
    return registry_.Key(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"));
  }

  testing::TempFolder folder_;
  testing::FaultyFileSystem files_;
  MemoryRegistry registry_;
  testing::RecordingProcesses processes_;
  testing::FakeShell shell_;
  RecordingUi ui_;
  testing::FakeWindows windows_;
  SetupInfo info_;
  std::vector<String> shortcuts_;
  String packList_;
  String packData_;
  InstallRequest request_;
};

TEST_F(InstallEngineTest, InstallsLogsRegistersLinksAndStartsTheProgram) {
  Pack({{"Uninstall.exe", "MZ uninstall"}, {"Pelorin.exe", "MZ editor"}, {"bin\\x.dll", "x"},
        {"$shared.dll", String(3000, 's')}, {"%SETUPINFO%", "info"}});
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  EXPECT_TRUE(ui_.messages.empty());

  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\Pelorin.exe"), "MZ editor");
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\bin\\x.dll"), "x");
  EXPECT_EQ(folder_.Read("Windows\\System\\shared.dll"), String(3000, 's'));
  EXPECT_FALSE(folder_.Exists("Program Files\\Brackwater\\Pelorin\\%SETUPINFO%"));
  // Each folder setup made has the install folder's rights alone; what lies inside inherits them.
  const String rights = FolderRightsText(FolderUse::kInstall, "");
  const std::map<String, String> made = {{folder_.Path("Program Files"), rights},
                                                   {folder_.Path("Program Files\\Brackwater"), rights},
                                                   {folder_.Path("Program Files\\Brackwater\\Pelorin"), rights}};
  EXPECT_EQ(files_.folderRights, made);

  const String system = shell_.systemFolder + "\\";
  const String link = shell_.startMenuFolder + "\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk";
  EXPECT_EQ(Log(), "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\nbin\\x.dll\r\n$" +
                       system + "shared.dll\r\n&" + link + "\r\n");

  ASSERT_EQ(shell_.links.size(), 1u);
  EXPECT_EQ(shell_.links[0].first, link);
  EXPECT_EQ(shell_.links[0].second.target, Installed("Pelorin.exe"));
  EXPECT_EQ(shell_.links[0].second.workingFolder, Installed(""));
  EXPECT_EQ(shell_.links[0].second.description, "Pelorin");
  EXPECT_EQ(shell_.links[0].second.iconFile, Installed("Pelorin.exe"));
  EXPECT_TRUE(folder_.Exists("Start Menu\\Programs\\Brackwater\\Pelorin"));
  EXPECT_EQ(ui_.caption, kApplicationInstalled);
  EXPECT_EQ(ui_.progress.back(), "Creating Application Links...|Application Installed");

  // Paths in command lines are quoted; the program is started last, with focus. Each runs
  // in its own folder, not in setup's.
  ASSERT_EQ(processes_.started.size(), 2u);
  EXPECT_EQ(processes_.started[0].commandLine,
            "\"" + system + "regsvr32.exe\" /s \"" + system + "shared.dll\"");
  EXPECT_TRUE(processes_.started[0].waited);
  EXPECT_EQ(processes_.started[0].timeoutMs, kRegisterWaitMs);
  EXPECT_EQ(processes_.started[0].currentFolder, system);
  EXPECT_EQ(processes_.started[1].commandLine, "\"" + Installed("Pelorin.exe") + "\"");
  EXPECT_EQ(processes_.started[1].show, WindowShow::kNormal);
  EXPECT_EQ(processes_.started[1].currentFolder, Installed(""));
  EXPECT_TRUE(shell_.startedFromDesktop.empty());  // no rights to shed

  const MemoryRegistry::Values* key = Registration();
  ASSERT_TRUE(key);
  EXPECT_EQ(key->at("DisplayName"), "Pelorin v1.2 (build 16)");
  EXPECT_EQ(key->at("UninstallString"), "\"" + Installed("Uninstall.exe") + "\"");
  EXPECT_EQ(key->at("QuietUninstallString"), "\"" + Installed("Uninstall.exe") + "\" /S");
  EXPECT_EQ(key->at("DisplayVersion"), "1.2 (build 16)");
  EXPECT_EQ(key->at("Publisher"), "Brackwater");
  EXPECT_EQ(key->at("DisplayIcon"), Installed("Pelorin.exe"));
  EXPECT_EQ(key->at("InstallLocation"), Installed(""));
  const String path = UninstallKeyPath("Pelorin");
  EXPECT_EQ(registry_.Number(RegistryRoot::kLocalMachine, path, "EstimatedSize"), 3u);  // 3022 bytes
  EXPECT_EQ(registry_.Number(RegistryRoot::kLocalMachine, path, "NoModify"), 1u);
  EXPECT_EQ(registry_.Number(RegistryRoot::kLocalMachine, path, "NoRepair"), 1u);
}

TEST_F(InstallEngineTest, ShowsTheProgressOfEachPass) {
  Pack({{"Pelorin.exe", "MZ editor"}, {"%SETUPINFO%", "info"}, {"$a.dll", "a"}});
  shortcuts_.clear();
  Run();
  EXPECT_EQ(ui_.progress, (std::vector<String>{"50% Installed|Installing Pelorin.exe",
                                                    "100% Installed|Installing $a.dll",
                                                    "50% Installed|Installing Pelorin.exe",
                                                    "100% Installed|Installing a.dll"}));
  EXPECT_EQ(PercentInstalledText(29, 100), "29% Installed");
  EXPECT_EQ(PercentInstalledText(1, 3), "33% Installed");
}

TEST_F(InstallEngineTest, WithoutUninstallOnlyShortcutsAreLogged) {
  PackShipped();
  info_.noUninstall = 1;
  Run();
  EXPECT_EQ(Log(), "&" + shell_.startMenuFolder + "\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk\r\n");
  EXPECT_FALSE(Registration());
}

TEST_F(InstallEngineTest, AKeptNewerFileIsLoggedOnlyInTheSystemFolder) {
  Pack({{"Pelorin.exe", "MZ editor"}, {"$a.dll", "a"}});
  folder_.Write("Program Files\\Brackwater\\Pelorin\\Pelorin.exe", "newer editor");
  folder_.Write("Windows\\System\\a.dll", "newer a");
  const FileTime later{2100, 1, 1, 0, 0, 0};
  files_.SetFileTimes(Installed("Pelorin.exe"), later);
  files_.SetFileTimes(shell_.systemFolder + "\\a.dll", later);
  shortcuts_.clear();
  ui_.overwrite = false;
  Run();
  EXPECT_EQ(ui_.questions, 2);
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\Pelorin.exe"), "newer editor");
  EXPECT_EQ(Log(), "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\n$" + shell_.systemFolder + "\\a.dll\r\n");
  ASSERT_EQ(processes_.started.size(), 1u);  // the program only: the kept file is not registered
  EXPECT_EQ(processes_.started[0].commandLine, "\"" + Installed("Pelorin.exe") + "\"");

  // A quiet reinstall repairs the application's own program whatever its date, which anyone
  // can set; other files it keeps as before.
  request_.quiet = true;
  request_.runAfterInstall = false;
  ui_.questions = 0;
  Run();
  EXPECT_EQ(ui_.questions, 1);  // a.dll only
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\Pelorin.exe"), "MZ editor");
  EXPECT_EQ(folder_.Read("Windows\\System\\a.dll"), "newer a");
}

TEST_F(InstallEngineTest, UnsafeNamesAndBrokenShortcutLinesAreSkipped) {
  Pack({{"..\\evil.exe", "e"}, {"Pelorin.exe", "MZ editor"}, {"C:\\evil.exe", "e"},
        {"\\evil.exe", "e"}, {"$..\\evil.dll", "e"}, {"$sub\\evil.dll", "e"}});
  shortcuts_ = {"No separators", "Bad\xFF..\\..\\x.exe\xFEPrograms\\", "CON\xFFPelorin.exe\xFEPrograms\\",
                        "Pelorin\xFFPelorin.exe\xFEPrograms.\\",
                        "Pelorin\xFFPelorin.exe\xFE%x:\\", kLink};
  EXPECT_EQ(Run(), InstallResult::kWithFailures);
  EXPECT_FALSE(folder_.Exists("Program Files\\Brackwater\\evil.exe"));
  EXPECT_FALSE(folder_.Exists("Windows\\evil.dll"));
  EXPECT_EQ(Log(), "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\nPelorin.exe\r\n&" + shell_.startMenuFolder +
                       "\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk\r\n");
  ASSERT_EQ(ui_.messages.size(), 1u);
  for (const char* name : {"..\\evil.exe", "C:\\evil.exe", "\\evil.exe", "$..\\evil.dll", "$sub\\evil.dll"})
    EXPECT_NE(ui_.messages[0].find(String("\r\n") + name + ": "), String::npos) << name;
  EXPECT_EQ(shell_.links.size(), 1u);
}

TEST_F(InstallEngineTest, AFileThatCannotBeWrittenIsReportedAndNotLogged) {
  Pack({{"Uninstall.exe", "MZ uninstall"}, {"Pelorin.exe", String(100000, 'e')}});
  files_.fullDiskFiles.insert(Installed("Pelorin.exe.tmp"));
  EXPECT_EQ(Run(), InstallResult::kWithFailures);
  EXPECT_EQ(Log(), "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\nUninstall.exe\r\n&" + shell_.startMenuFolder +
                       "\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk\r\n");
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages[0], "Setup could not install or set up these:\r\n\r\n" + Installed("Pelorin.exe") +
                                 ": No space left on device (system error 28)");
  EXPECT_EQ(ui_.messages[1], Installed("Pelorin.exe") + " could not be launched!");
  EXPECT_FALSE(folder_.Exists("Program Files\\Brackwater\\Pelorin\\Pelorin.exe.tmp"));
}

// An install that cannot start leaves nothing behind and says why.
TEST_F(InstallEngineTest, StopsBeforeCopyingWhenFolderLogOrListFails) {
  PackShipped();
  const auto expectStopped = [&](const String& start) {
    ui_.messages.clear();
    EXPECT_EQ(Run(), InstallResult::kStopped);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].rfind(start, 0), 0u) << ui_.messages[0];
    EXPECT_TRUE(ui_.messages[0].ends_with("\r\n\r\nNothing has been installed.")) << ui_.messages[0];
    EXPECT_FALSE(folder_.Exists("Program Files\\Brackwater\\Pelorin\\Pelorin.exe"));
    EXPECT_TRUE(processes_.started.empty());
    EXPECT_TRUE(shell_.links.empty());
    EXPECT_FALSE(Registration());
  };

  files_.unwritableFolders.insert(folder_.Path("Program Files\\Brackwater"));
  expectStopped("Setup could not create the install folder " + Installed("") +
                ":\r\nPermission denied (system error 13)");
  EXPECT_FALSE(folder_.Exists("Program Files"));  // the folders made on the way are gone again
  files_.unwritableFolders.clear();

  // A folder that cannot be held is named.
  files_.unholdableFolders.insert(folder_.Path("Program Files\\Brackwater"));
  expectStopped("Setup could not create the install folder " + Installed("") + ":\r\n" +
                folder_.Path("Program Files\\Brackwater") + ": The file is used by another process (system error 32)");
  EXPECT_FALSE(folder_.Exists("Program Files"));
  files_.unholdableFolders.clear();

  files_.unwritableFolders = {folder_.Path("Program Files\\Brackwater\\Pelorin")};
  expectStopped("Setup could not write the install log " + Installed("install.log") + ":\r\n");
  EXPECT_FALSE(folder_.Exists("Program Files"));
  files_.unwritableFolders.clear();

  const String list = folder_.Read("Setup.lst");
  folder_.Write("Setup.lst", "List File for something else\r\n");
  expectStopped("Setup's file list " + packList_ + " is not a file list.");
  folder_.Write("Setup.lst", list.substr(0, list.find(",22,")) + ",2x," + list.substr(list.find(",22,") + 4));
  expectStopped("Setup's file list " + packList_ + " is damaged");
  files_.RemoveFile(packList_);
  expectStopped("Setup could not read its file list " + packList_ + ":\r\n");
  EXPECT_FALSE(folder_.Exists("Program Files"));

  info_.appName.clear();  // its removal key would be the Uninstall key itself
  expectStopped(kCorruptSetupMessage);
  EXPECT_FALSE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("")));
}

// Each scope has its own registration, Start Menu and folder rights, and leaves the other's
// alone, so that an install for every user and one for an account stand side by side.
TEST_F(InstallEngineTest, EachScopeRegistersAndLinksInItsOwnPlaces) {
  PackShipped();
  shell_.allUsersStartMenuFolder = folder_.Path("All Users Start Menu");
  shell_.administrator = true;
  request_.runAfterInstall = false;
  request_.scope = InstallScope::kUser;
  request_.accountSid = "S-1-5-21-7-7-7-1001";
  ASSERT_EQ(Run(), InstallResult::kInstalled);
  const String key = UninstallKeyPath("Pelorin");
  ASSERT_NE(registry_.Key(RegistryRoot::kCurrentUser, key), nullptr);
  EXPECT_EQ(registry_.Key(RegistryRoot::kCurrentUser, key)->at("InstallLocation"), Installed(""));
  EXPECT_EQ(Registration(), nullptr);
  ASSERT_EQ(shell_.links.size(), 1u);
  EXPECT_EQ(shell_.links[0].first, shell_.startMenuFolder + "\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk");
  // Its folders are the account's, beside SYSTEM and the administrators, so that the editor
  // can keep its settings beside itself.
  EXPECT_EQ(files_.folderRights.at(Installed("").substr(0, Installed("").size() - 1)),
            FolderRightsText(FolderUse::kPrivate, request_.accountSid));

  request_.scope = InstallScope::kMachine;
  request_.installPath = folder_.Path("Machine\\Pelorin");
  shell_.links.clear();
  ASSERT_EQ(Run(), InstallResult::kInstalled);
  ASSERT_NE(Registration(), nullptr);
  EXPECT_EQ(Registration()->at("InstallLocation"), folder_.Path("Machine\\Pelorin\\"));
  EXPECT_EQ(registry_.Key(RegistryRoot::kCurrentUser, key)->at("InstallLocation"), Installed(""));
  ASSERT_EQ(shell_.links.size(), 1u);
  EXPECT_EQ(shell_.links[0].first, shell_.allUsersStartMenuFolder + "\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk");
}

// The path is judged again when it is used: a folder above that others could rename by
// then refuses the install, and what setup made on the way goes again.
TEST_F(InstallEngineTest, JudgesTheWholePathWhenItIsUsed) {
  PackShipped();
  folder_.MakeFolder("Tools");
  files_.movableByOthers = {folder_.Path("Tools")};
  request_.installPath = folder_.Path("Tools\\New\\Pelorin");
  EXPECT_EQ(Run(), InstallResult::kStopped);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_TRUE(ui_.messages[0].starts_with("Setup will not install into " + folder_.Path("Tools\\New\\Pelorin\\") +
                                          ": other accounts can rename")) << ui_.messages[0];
  EXPECT_FALSE(folder_.Exists("Tools\\New"));
}

// The registration names the uninstaller, so it is written only when that is in place, and
// its size is that of the files as they stand, an upgrade's kept newer ones included.
TEST_F(InstallEngineTest, TheRegistrationNeedsTheUninstallerAndCountsTheFilesAsTheyStand) {
  Pack({{"Pelorin.exe", "MZ editor"}});
  Run();
  EXPECT_FALSE(Registration());
  EXPECT_NE(Log().find("Pelorin.exe"), String::npos);

  Pack({{"Uninstall.exe", "MZ uninstall"}});
  files_.readOnlyFiles.insert(Installed("Uninstall.exe"));
  EXPECT_EQ(Run(), InstallResult::kWithFailures);
  EXPECT_FALSE(Registration());
  files_.readOnlyFiles.clear();

  folder_.Write("Program Files\\Brackwater\\Pelorin\\Pelorin.exe", String(5000, 'n'));
  files_.SetFileTimes(Installed("Pelorin.exe"), FileTime{2100, 1, 1, 0, 0, 0});
  ui_.overwrite = false;
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  ASSERT_TRUE(Registration());
  EXPECT_EQ(registry_.Number(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "EstimatedSize"), 5u);
}

TEST_F(InstallEngineTest, KeyAndDisplayNamesHaveBlanksForSlashes) {
  PackShipped();
  info_.appName = "Pel\\or/in";
  Run();
  const auto* key = registry_.Key(RegistryRoot::kLocalMachine,
                                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pel or in");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->at("DisplayName"), "Pel or in v1.2 (build 16)");
}

TEST_F(InstallEngineTest, AProgramThatDoesNotStartIsOpenedByTheShell) {
  PackShipped();
  processes_.startFails = true;
  Run();
  EXPECT_EQ(shell_.opened, std::vector<String>{Installed("Pelorin.exe")});
}

// With administrator rights the install is the machine's: its shortcut goes to every user's
// Start Menu, in the program folder whatever the system calls it, and the editor is started
// by the desktop as the user, or where the desktop cannot, not at all: the user is told where
// it is.
TEST_F(InstallEngineTest, WithAdministratorRightsShortcutsAreForAllUsersAndTheEditorStartsAsTheUser) {
  PackShipped();
  shell_.administrator = true;
  shell_.allUsersStartMenuFolder = folder_.Path("All Users Start Menu");
  shell_.programsName = "Programme";
  shortcuts_ = {kLink, "Readme\xFFPelorin.exe\xFE" "Docs\\"};
  Run();
  const String link = shell_.allUsersStartMenuFolder + "\\Programme\\Brackwater\\Pelorin\\Pelorin.lnk";
  const String other = shell_.allUsersStartMenuFolder + "\\Docs\\Readme.lnk";
  EXPECT_TRUE(Log().ends_with("&" + link + "\r\n&" + other + "\r\n")) << Log();
  ASSERT_EQ(shell_.links.size(), 2u);
  EXPECT_EQ(shell_.links[0].first, link);
  EXPECT_EQ(shell_.startedFromDesktop, std::vector<String>{Installed("Pelorin.exe")});
  EXPECT_TRUE(processes_.started.empty());

  shell_.desktopStarts = false;
  shell_.allUsersStartMenuFolder.clear();  // none to be had: the user's own
  Run();
  EXPECT_EQ(shell_.links.back().first, shell_.startMenuFolder + "\\Docs\\Readme.lnk");
  EXPECT_TRUE(processes_.started.empty());
  EXPECT_TRUE(shell_.opened.empty());
  EXPECT_EQ(ui_.messages.back(), Installed("Pelorin.exe") + kStartItYourself);
}

// The editor's window open, or its file in use: nothing is copied until both are over.
TEST_F(InstallEngineTest, ARunningProgramIsWaitedForBeforeAnythingIsCopied) {
  PackShipped();
  request_.runAfterInstall = false;
  const String question = String("Pelorin") + kRunningQuestion;

  windows_.open = "PelorinMain Pelorin " + Installed("Pelorin.exe");
  EXPECT_EQ(Run(), InstallResult::kCancelled);
  EXPECT_EQ(ui_.messages, std::vector<String>{question});
  EXPECT_FALSE(folder_.Exists("Program Files"));

  // Another program's window with the editor's class and title holds nothing up.
  windows_.open = "PelorinMain Pelorin C:\\Games\\Pelorin.exe";
  ui_.messages.clear();
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  EXPECT_TRUE(ui_.messages.empty());
  windows_.open = "PelorinMain Pelorin " + Installed("Pelorin.exe");

  // Retry while it still runs asks again; closed, Retry installs.
  int asked = 0;
  ui_.messages.clear();
  ui_.retry = [&] {
    if (++asked == 2) windows_.open.clear();
    return true;
  };
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  EXPECT_EQ(ui_.messages, (std::vector<String>{question, question}));
  EXPECT_TRUE(windows_.closed.empty());  // the user closes it, not setup

  // No window, but the program file is still held.
  files_.inUseFiles.insert(Installed("Pelorin.exe"));
  ui_.messages.clear();
  ui_.retry = [&] {
    files_.inUseFiles.clear();
    return true;
  };
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  EXPECT_EQ(ui_.messages, std::vector<String>{question});

  // A read-only program file is no running program: the reason is told, and nothing copied.
  folder_.Write("Program Files\\Brackwater\\Pelorin\\Pelorin.exe", "old editor");
  files_.readOnlyFiles.insert(Installed("Pelorin.exe"));
  ui_.messages.clear();
  EXPECT_EQ(Run(), InstallResult::kStopped);
  EXPECT_EQ(ui_.messages, std::vector<String>{"Setup cannot replace " + Installed("Pelorin.exe") +
                                                   ":\r\nPermission denied (system error 13)\r\n\r\nNothing has been installed."});
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\Pelorin.exe"), "old editor");
}

TEST_F(InstallEngineTest, AQuietInstallAsksTheWindowToCloseAndWaitsABoundedTime) {
  PackShipped();
  request_.quiet = true;
  const String editor = "PelorinMain Pelorin " + Installed("Pelorin.exe");
  windows_.open = editor;
  windows_.closesAfterPauses = 3;
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  EXPECT_EQ(windows_.closed, std::vector<String>{editor});
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\Pelorin.exe"), "MZ editor");

  folder_.Write("Program Files\\Brackwater\\Pelorin\\Pelorin.exe", "old editor");
  windows_ = {};
  windows_.open = editor;
  ui_.messages.clear();
  EXPECT_EQ(Run(), InstallResult::kStopped);
  EXPECT_EQ(windows_.pausedMs, kQuietCloseWaitMs);
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\Pelorin.exe"), "old editor");
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0], "Pelorin is running and did not close.\r\n\r\nNothing has been installed.");
}

// An upgrade: the same install again replaces the files, keeps the user's settings and
// leaves a log that lists each entry once.
TEST_F(InstallEngineTest, InstallingOverAnEarlierInstallLeavesOneLog) {
  PackShipped();
  request_.runAfterInstall = false;
  Run();
  const String first = Log();
  // Only the folders this install made are on record, and the second install makes none.
  const String record = folder_.Read("Program Files\\Brackwater\\Pelorin\\folders.log");
  EXPECT_EQ(record, folder_.Path("Program Files") + "\r\n" + folder_.Path("Program Files\\Brackwater") + "\r\n" +
                        folder_.Path("Program Files\\Brackwater\\Pelorin") + "\r\n");
  folder_.Write("Program Files\\Brackwater\\Pelorin\\settings.ini", "C:\\Quake3\\\r\n");
  folder_.Write("Program Files\\Brackwater\\Pelorin\\Pelorin.exe", "old editor");
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  EXPECT_EQ(Log(), first);
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\folders.log"), record);
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\Pelorin.exe"), "MZ editor");
  EXPECT_EQ(folder_.Read("Program Files\\Brackwater\\Pelorin\\settings.ini"), "C:\\Quake3\\\r\n");
  EXPECT_EQ(shell_.links.size(), 2u);
}

// An upgrade whose shortcut moved removes the earlier one with its emptied folders; a system
// file of the earlier install stays logged, since other programs may share it. Log lines
// that name a place where setup makes no shortcuts are not followed; one named twice is logged once.
TEST_F(InstallEngineTest, AnUpgradeRemovesTheEarlierInstallsStaleShortcut) {
  PackShipped();
  request_.runAfterInstall = false;
  const String old = shell_.startMenuFolder + "\\Programs\\Old Company\\Pelorin\\Pelorin.lnk";
  folder_.Write("Start Menu\\Programs\\Old Company\\Pelorin\\Pelorin.lnk", "link");
  folder_.Write("Start Menu\\Programs\\Other.lnk", "another program's link");
  folder_.Write("Elsewhere\\Keep.lnk", "not setup's");
  folder_.Write("Program Files\\Brackwater\\Pelorin\\install.log",
                "Pelorin\r\n1.1\r\nPelorin.exe\r\nPelorin.exe\r\n$C:\\Windows\\System\\old.dll\r\n&" + old +
                    "\r\n&" + folder_.Path("Elsewhere\\Keep.lnk") + "\r\n&" + shell_.startMenuFolder +
                    "\\..\\Elsewhere\\Keep.lnk\r\n$C:\\WINDOWS\\System\\old.dll\r\n");
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  EXPECT_FALSE(folder_.Exists("Start Menu\\Programs\\Old Company"));
  EXPECT_TRUE(folder_.Exists("Start Menu\\Programs\\Other.lnk"));
  EXPECT_TRUE(folder_.Exists("Elsewhere\\Keep.lnk"));
  EXPECT_EQ(Log(), "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\n&" + shell_.startMenuFolder +
                       "\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk\r\n$C:\\Windows\\System\\old.dll\r\n");
}

// An earlier install that the registration places in another folder is removed first by its
// quiet removal, when the user agrees; one in the chosen folder is simply installed over.
TEST_F(InstallEngineTest, AnEarlierInstallInAnotherFolderIsRemovedFirst) {
  PackShipped();
  request_.runAfterInstall = false;
  const String earlier = folder_.Path("Other Place\\Pel") + "\\";
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "InstallLocation", earlier);
  folder_.Write("Other Place\\Pel\\install.log", "Pelorin\r\n1.1\r\nPelorin.exe\r\n");
  folder_.Write("Other Place\\Pel\\Uninstall.exe", "MZ uninstall");
  const String question = kEarlierInstallQuestion + earlier + kEarlierInstallQuestionEnd;

  ui_.yes = false;
  Run();
  EXPECT_EQ(ui_.messages, std::vector<String>{question});
  EXPECT_TRUE(processes_.started.empty());

  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "InstallLocation", earlier);
  ui_.yes = true;
  ui_.messages.clear();
  EXPECT_EQ(Run(), InstallResult::kInstalled);
  EXPECT_EQ(ui_.messages, std::vector<String>{question});
  ASSERT_EQ(processes_.started.size(), 1u);
  EXPECT_EQ(processes_.started[0].commandLine, "\"" + earlier + "Uninstall.exe\" /S");
  EXPECT_TRUE(processes_.started[0].waited);
  EXPECT_EQ(Registration()->at("InstallLocation"), Installed(""));

  ui_.messages.clear();  // the registration names this folder now
  Run();
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(processes_.started.size(), 1u);
}

// A step after the copying that fails is named in the report and ends a quiet install with
// exit code 4, not 0.
TEST_F(InstallEngineTest, FailuresAfterCopyingAreNamedAndGiveExitCode4) {
  const String earlier = folder_.Path("Other Place\\Pel") + "\\";
  enum class Fault { kShortcut, kRegistryValue, kRegsvr32, kEarlierRemoval, kEarlierOpenToOthers };
  const struct {
    Fault fault;
    String reported;
  } cases[] = {
      {Fault::kShortcut, "Pelorin.lnk: the shortcut could not be saved"},
      {Fault::kRegistryValue, "a value of the removal registration could not be written"},
      {Fault::kRegsvr32, "shared.dll: regsvr32 could not register it"},
      {Fault::kEarlierRemoval, earlier + ": the earlier install's removal did not complete"},
      // Never started with setup's rights from where others could have changed it.
      {Fault::kEarlierOpenToOthers, earlier + ": other accounts can change the earlier install's uninstaller"},
  };
  folder_.Write("Other Place\\Pel\\install.log", "Pelorin\r\n1.1\r\nPelorin.exe\r\n");
  folder_.Write("Other Place\\Pel\\Uninstall.exe", "MZ uninstall");
  request_.runAfterInstall = false;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reported);
    testing::TempFolder data;
    packList_ = data.Path("Setup.lst");
    packData_ = data.Path("Setup.mif");
    PackShipped();
    if (c.fault == Fault::kRegsvr32) Pack({{"$shared.dll", "s"}});
    if (c.fault == Fault::kEarlierRemoval || c.fault == Fault::kEarlierOpenToOthers)
      registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "InstallLocation", earlier);
    shell_.linksFail = c.fault == Fault::kShortcut;
    registry_.writesFail = c.fault == Fault::kRegistryValue;
    processes_.programsFail = c.fault == Fault::kRegsvr32 || c.fault == Fault::kEarlierRemoval;
    if (c.fault == Fault::kEarlierOpenToOthers) files_.openToOthers = {folder_.Path("Other Place\\Pel")};
    processes_.started.clear();
    ui_.messages.clear();
    EXPECT_EQ(QuietInstallExitCode(Run()), kExitIncomplete);
    if (c.fault == Fault::kEarlierOpenToOthers) EXPECT_TRUE(processes_.started.empty());
    ASSERT_FALSE(ui_.messages.empty());
    EXPECT_NE(ui_.messages.back().find(c.reported), String::npos) << ui_.messages.back();
  }
}

TEST(InstallFolderTest, AnEarlierInstallThatStillHasItsLogIsProposed) {
  testing::TempFolder folder;
  testing::FaultyFileSystem files;
  MemoryRegistry registry;
  SetupInfo info;
  info.appName = "Pelorin";
  info.appCompany = "Brackwater";
  const String x86 = "C:\\Program Files (x86)";
  EXPECT_EQ(ProposedInstallPath(files, registry, info, x86), "C:\\Program Files (x86)\\Brackwater\\Pelorin");

  const String earlier = folder.Path("Other Place\\Pel") + "\\";
  registry.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pelorin"), "InstallLocation", earlier);
  EXPECT_EQ(ProposedInstallPath(files, registry, info, x86), "C:\\Program Files (x86)\\Brackwater\\Pelorin");  // no log
  folder.Write("Other Place\\Pel\\install.log", "Pelorin\r\n");
  EXPECT_EQ(ProposedInstallPath(files, registry, info, x86), folder.Path("Other Place\\Pel"));

  info.useFixedPath = true;
  info.fixedPath = "D:\\Fixed";
  EXPECT_EQ(ProposedInstallPath(files, registry, info, x86), "D:\\Fixed");
}

// Drive C: of these tests is a temporary folder.
class DriveC : public PosixFileSystem {
 public:
  explicit DriveC(const testing::TempFolder& folder) { root_ = folder.Path(); }
  bool FolderExists(const String& path) override { return PosixFileSystem::FolderExists(On(path)); }
  FileError ListFiles(const String& folder, const String& pattern, std::vector<String>& names) override {
    if (unlistable.count(folder) != 0) return {FileError::Kind::kAccessDenied, 5, "Access is denied."};
    return PosixFileSystem::ListFiles(On(folder), pattern, names);
  }
  FileError ListFolders(const String& folder, std::vector<String>& names) override {
    return PosixFileSystem::ListFolders(On(folder), names);
  }
  FileError ReadFile(const String& path, String& bytes) override { return PosixFileSystem::ReadFile(On(path), bytes); }
  std::set<String> unlistable;  // folders whose listing the system refuses
  std::set<String> openToOthers;  // folders other accounts can change
  bool OthersCanWrite(const String& path) override { return openToOthers.count(path) != 0; }
  static inline String root_;
  // Links followed, as the system's final path; back on drive C:.
  static String FinalPath(const String& path) {
    std::error_code error;
    const String real = std::filesystem::canonical(std::string(ReplaceChars(On(path), '\\', '/')), error).string();
    const String top = std::filesystem::canonical(std::string(ReplaceChars(root_, '\\', '/')), error).string();
    if (error || !real.starts_with(top)) return path;
    return "C:" + ReplaceChars(real.substr(top.size()), '/', '\\');
  }

 private:
  static String On(const String& path) { return path.starts_with("C:") ? root_ + path.substr(2) : path; }
};

TEST(InstallFolderTest, AFolderOfOthersIsRefusedOrGetsTheApplicationsOwn) {
  testing::TempFolder folder;
  DriveC files(folder);
  folder.Write("Games\\Quake3\\quake3.exe", "MZ");
  folder.Write("Games\\Old\\install.log", "Pelorin\r\n1.1\r\nPelorin.exe\r\n");
  folder.Write("Games\\Peer\\install.log", "Other\r\n1.0\r\n\r\n");
  folder.MakeFolder("Games\\Empty");
  folder.MakeFolder("Games\\Locked");
  files.unlistable.insert("C:\\Games\\Locked");
  folder.Write("Games\\Taken\\notes.txt", "x");
  folder.Write("Games\\Taken\\Pelorin\\notes.txt", "x");
  folder.Write("Games\\Shared\\install.log", "Pelorin\r\n1.1\r\nPelorin.exe\r\n");
  folder.MakeFolder("Games\\Open");
  folder.MakeFolder("Games\\Open Both\\Pelorin");
  files.openToOthers = {"C:\\Games\\Shared", "C:\\Games\\Open", "C:\\Games\\Open Both",
                        "C:\\Games\\Open Both\\Pelorin"};
  folder.MakeFolder("WINDOWS\\Fonts");
  folder.MakeFolderLink("WINDOWS", "Games\\ToWindows");
  const ReservedFolders reserved{"C:\\WINDOWS", {"C:\\WINDOWS\\system32", "C:\\Users\\me", "C:\\Users\\me\\Desktop",
                                                "C:\\Program Files (x86)"}, DriveC::FinalPath};
  struct Case {
    String typed;
    String path;  // empty: refused
  };
  const Case cases[] = {
      {"C:\\Games\\Quake3", "C:\\Games\\Quake3\\Pelorin"},
      {" C:/Games/Quake3/. . ", "C:\\Games\\Quake3\\Pelorin"},
      {"C:\\Games\\Peer\\", "C:\\Games\\Peer\\Pelorin"},
      {"c:\\games\\old", "c:\\games\\old"},
      {"C:\\Games\\Empty", "C:\\Games\\Empty"},
      {"C:\\Games\\New Place", "C:\\Games\\New Place"},
      {"C:\\Games\\Locked", "C:\\Games\\Locked\\Pelorin"},  // unlistable: may hold anything
      {"C:\\Games\\Taken", ""},  // its own folder below holds others' files too
      // A folder others can change, even this application's or an empty one, gets a new one below.
      {"C:\\Games\\Shared", "C:\\Games\\Shared\\Pelorin"},
      {"C:\\Games\\Open", "C:\\Games\\Open\\Pelorin"},
      {"C:\\Games\\Open Both", ""},
      {"\\\\server\\share\\Pelorin", ""},  // never made there: refused
      {"\\\\?\\C:\\Games\\New", ""},
      {"\\\\.\\C:\\Games\\New", ""},
      {"C:\\Games\\New:stream", ""},
      {"C:\\Windows.\\Fonts\\Pelorin", ""},
      {"C:\\Games \\New", ""},
      {"C:\\Games\\ToWindows\\Pelorin", ""},  // a link into the Windows folder
      {"", ""},
      {"  . ", ""},
      {"Games\\Quake3", ""},
      {"\\Games", ""},
      {"C:Games", ""},
      {"C:\\", ""},
      {"D:", ""},
      {"\\\\server\\share\\", ""},
      {"C:\\Games\\..\\WINDOWS", ""},
      {"c:\\windows", ""},
      {"C:\\Windows\\Fonts\\Pelorin", ""},
      {"C:\\WINDOWS\\system32", ""},
      {"C:\\Users\\me", ""},
      {"C:\\Users\\me\\Desktop\\", ""},
      {"C:\\Program Files (x86)", ""},
  };
  for (const Case& c : cases) {
    const InstallFolderChoice choice = ChooseInstallFolder(files, c.typed, "Pelorin", reserved);
    EXPECT_EQ(choice.path, c.path) << c.typed;
    EXPECT_EQ(choice.refused, c.path.empty()) << c.typed;
    EXPECT_EQ(choice.reason.empty(), !choice.refused) << c.typed;
  }
}

}  // namespace
}  // namespace pelorin
