#include <gtest/gtest.h>

#include <deque>

#include "FileSystem_posix.h"
#include "InstallRecord.h"
#include "MemoryRegistry.h"
#include "QuietUninstallUi.h"
#include "UninstallRun.h"
#include "support/RecordingProcesses.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Every step the run takes on the outside, in order.
using Events = std::vector<std::string>;

class WatchedFiles : public PosixFileSystem {
 public:
  explicit WatchedFiles(Events& events) : events_(events) {}
  FileError RemoveFile(const std::string& path) override {
    events_.push_back("remove " + path);
    return PosixFileSystem::RemoveFile(path);
  }

 private:
  Events& events_;
};

// Records program starts and window closes among the events.
class WatchedOutside : public testing::RecordingProcesses, public AppWindows {
 public:
  explicit WatchedOutside(Events& events) : events_(events) {}
  bool RunAndWait(const std::string& commandLine, unsigned long timeoutMs) override {
    events_.push_back("run " + commandLine);
    return RecordingProcesses::RunAndWait(commandLine, timeoutMs);
  }
  void Close(const std::string& title) override { events_.push_back("close " + title); }
  bool IsOpen(const std::string&) override { return false; }
  void Pause(unsigned long) override {}

 private:
  Events& events_;
};

class ScriptedUi : public UninstallUi {
 public:
  std::vector<std::string> told, statuses, questions;
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  std::deque<bool> answers;  // Yes when none is left
  bool shown = false;

  void Tell(const std::string& text) override { told.push_back(text); }
  void Show() override { shown = true; }
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  void ShowProgress(std::size_t index, std::size_t count) override { progress.emplace_back(index, count); }
  bool Ask(const std::string& text, const std::string& caption) override {
    questions.push_back(caption + ": " + text);
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class UninstallRunTest : public ::testing::Test {
 protected:
  UninstallRunTest() {
    place_.self = {temp_.Path("app\\Uninstall.exe"), "", "", temp_.Path("tmp\\SetupTemp\\")};
    place_.systemFolder = temp_.Path("sys");
    temp_.Write("app\\Uninstall.exe", "MZ");
  }

  UninstallEnd Run() { return RunUninstall({files_, registry_, processes_, processes_, ui_}, place_); }

  std::string Installed(const std::string& relative) const { return temp_.Path("app\\" + relative); }

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
  EXPECT_EQ(ui_.told, std::vector<std::string>{"Install.log not found!"});
  EXPECT_FALSE(ui_.shown);
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(processes_.started.empty());
}

TEST_F(UninstallRunTest, AnsweringNoRemovesNothing) {
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\nPelorin.exe\r\n");
  temp_.Write("app\\Pelorin.exe", "MZ");
  ui_.answers = {false};
  EXPECT_EQ(Run(), UninstallEnd::kDeclined);
  EXPECT_EQ(ui_.questions, std::vector<std::string>{"Proceed with Uninstall?: Are you sure you want to Uninstall Pelorin v1.2?"});
  EXPECT_EQ(ui_.statuses, std::vector<std::string>{"Preparing to Uninstall..."});
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(temp_.Exists("app\\install.log"));
  EXPECT_FALSE(temp_.Exists("tmp"));
}

TEST_F(UninstallRunTest, RemovesWhatTheLogNamesInOrderAndHandsOverToTheBatchFile) {
  const std::string shortcut = temp_.Path("menu\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk");
  const std::string shared = temp_.Path("sys\\shared.dll");
  const std::string kept = temp_.Path("sys\\kept.dll");
  temp_.Write("app\\install.log", "Pel\\or/in\r\n1.2\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\n"
                                  "data\\deep\\a.txt\r\n$" + shared + "\r\n$" + kept + "\r\n&" + shortcut + "\r\n");
  for (const char* file : {"app\\Pelorin.exe", "app\\data\\deep\\a.txt", "sys\\shared.dll", "sys\\kept.dll",
                           "menu\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk", "menu\\Programs\\other.lnk"})
    temp_.Write(file, "x");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Pel\\or/in"), "DisplayName", "x");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath("Other"), "DisplayName", "x");
  ui_.answers = {true, true, false};

  EXPECT_EQ(Run(), UninstallEnd::kRemoved);

  // The program was asked to close, then told of its removal, before any file went.
  ASSERT_GE(events_.size(), 3u);
  EXPECT_EQ(events_[0], "close Pel\\or/in");
  EXPECT_EQ(events_[1], "run \"" + Installed("Pelorin.exe") + "\" uninstall");
  EXPECT_EQ(events_[2], "remove " + Installed("Uninstall.exe"));
  EXPECT_EQ(processes_.started[0].timeoutMs, kProgramWaitMs);

  EXPECT_EQ(ui_.questions.size(), 3u);
  EXPECT_EQ(ui_.questions[1], "Uninstall System File?: " + shared + " was installed by Pel\\or/in but could "
                              "possibly be used by other programs.  Are you sure you want to Uninstall it?");
  EXPECT_FALSE(temp_.Exists("sys\\shared.dll"));
  EXPECT_TRUE(temp_.Exists("sys\\kept.dll"));
  EXPECT_FALSE(temp_.Exists("app\\Pelorin.exe"));
  EXPECT_FALSE(temp_.Exists("app\\data"));
  EXPECT_FALSE(temp_.Exists("menu\\Programs\\Brackwater"));
  EXPECT_TRUE(temp_.Exists("menu\\Programs\\other.lnk"));
  EXPECT_FALSE(temp_.Exists("app\\install.log"));

  EXPECT_FALSE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Pel\\or/in")));
  EXPECT_TRUE(registry_.HasKey(RegistryRoot::kLocalMachine, UninstallKeyPath("Other")));
  EXPECT_EQ(temp_.Read("tmp\\SetupTemp\\uninstall.bat"), SelfRemovalBatch(place_.self));
  EXPECT_EQ(temp_.Read("tmp\\SetupTemp\\yes.txt"), "Y\r\n");
  ASSERT_EQ(processes_.started.size(), 2u);
  EXPECT_EQ(processes_.started[1].commandLine, "\"" + temp_.Path("tmp\\SetupTemp\\uninstall.bat") + "\"");
  EXPECT_EQ(processes_.started[1].show, WindowShow::kHidden);
  EXPECT_FALSE(processes_.started[1].waited);

  EXPECT_EQ(ui_.progress.size(), 6u);
  EXPECT_EQ(ui_.progress.back(), (std::pair<std::size_t, std::size_t>{5, 6}));
}

TEST_F(UninstallRunTest, TamperedLogTouchesNothingOutsideItsPlaces) {
  temp_.Write("outside.txt", "x");
  temp_.Write("sys\\sub\\deep.dll", "x");
  temp_.Write("notes.txt", "x");
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\n..\\outside.txt\r\n..\\outside.txt\r\n" + temp_.Path("outside.txt") +
                                      "\r\n$" + temp_.Path("sys\\sub\\deep.dll") + "\r\n$" + temp_.Path("outside.txt") +
                                      "\r\n&" + temp_.Path("notes.txt") + "\r\n");
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  EXPECT_TRUE(temp_.Exists("outside.txt"));
  EXPECT_TRUE(temp_.Exists("sys\\sub\\deep.dll"));
  EXPECT_TRUE(temp_.Exists("notes.txt"));
  EXPECT_EQ(ui_.questions.size(), 1u) << "only the confirmation is asked";
  EXPECT_EQ(processes_.started.size(), 1u) << "the main program path climbs out: not started";
}

TEST_F(UninstallRunTest, EmptyHeaderStartsAndClosesNothingAndKeepsOtherRegistrations) {
  temp_.Write("app\\install.log", "\r\n\r\n\r\n");
  registry_.SetKeyValue(RegistryRoot::kLocalMachine, std::string(kUninstallKeys), "x", "y");
  EXPECT_EQ(Run(), UninstallEnd::kRemoved);
  EXPECT_TRUE(ui_.progress.empty());
  EXPECT_EQ(events_, Events{"remove " + Installed("install.log")});
  EXPECT_TRUE(registry_.HasKey(RegistryRoot::kLocalMachine, std::string(kUninstallKeys)));
  EXPECT_EQ(processes_.started.size(), 1u);  // the batch file only
}

TEST(RemoveEmptyFolders, RemovesEmptyFoldersUpToTheFirstThatHoldsSomething) {
  testing::TempFolder temp;
  PosixFileSystem files;
  temp.MakeFolder("a\\b\\c\\d");
  temp.Write("a\\keep.txt", "x");
  RemoveEmptyFolders(files, temp.Path("a\\b\\c\\d"));
  EXPECT_FALSE(temp.Exists("a\\b"));
  EXPECT_TRUE(temp.Exists("a\\keep.txt"));
  RemoveEmptyFolders(files, temp.Path("a\\missing\\x"));
  EXPECT_TRUE(temp.Exists("a"));
}

TEST(BarFill, FillsInProportionAndFullAfterTheLastEntry) {
  EXPECT_EQ(BarFill(0, 1, 313), 313);
  EXPECT_EQ(BarFill(0, 3, 300), 0);
  EXPECT_EQ(BarFill(1, 3, 300), 150);
  EXPECT_EQ(BarFill(2, 3, 300), 300);
  EXPECT_EQ(BarFill(1999999, 4000000, 313), 156);
}

// "/S": no question; the shared system file stays, everything else goes as after a Yes.
TEST_F(UninstallRunTest, AQuietRunRemovesAllButSharedSystemFiles) {
  const std::string shared = temp_.Path("sys\\shared.dll");
  temp_.Write("app\\install.log", "Pelorin\r\n1.2\r\nPelorin.exe\r\nPelorin.exe\r\n$" + shared + "\r\n");
  temp_.Write("app\\Pelorin.exe", "MZ");
  temp_.Write("sys\\shared.dll", "x");
  QuietUninstallUi quiet;
  EXPECT_EQ(RunUninstall({files_, registry_, processes_, processes_, quiet}, place_), UninstallEnd::kRemoved);
  EXPECT_EQ(events_[0], "close Pelorin");
  EXPECT_FALSE(temp_.Exists("app\\Pelorin.exe"));
  EXPECT_TRUE(temp_.Exists("sys\\shared.dll"));
  EXPECT_TRUE(temp_.Exists("tmp\\SetupTemp\\uninstall.bat"));

  temp_.Write("app\\Uninstall.exe", "MZ");
  EXPECT_EQ(RunUninstall({files_, registry_, processes_, processes_, quiet}, place_), UninstallEnd::kLogMissing);
}

}  // namespace
}  // namespace pelorin
