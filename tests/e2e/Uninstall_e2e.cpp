#include <gtest/gtest.h>

#include "RemovalFixture.h"
#include "TextInk.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

// An install made by hand in a folder with a blank in its name: the two programs, a file and
// one in a subfolder, a Start Menu shortcut, the install log and the removal registration.
class UninstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.Problem(), "");
    std::filesystem::remove_all(SetupTemp());
    std::filesystem::create_directories(install_ / "sub");
    std::filesystem::copy_file(session_.Programs() / "Uninstall.exe", install_ / "Uninstall.exe");
    std::filesystem::copy_file(session_.Programs() / "Pelorin.exe", install_ / "Pelorin.exe");
    WriteFile(install_ / "readme.txt", "read me");
    WriteFile(install_ / "sub" / "data.txt", "data");
    // As setup records it when it made both folders.
    WriteFile(install_ / "folders.log", WinePath(install_.parent_path()) + "\r\n" + WinePath(install_) + "\r\n");
    std::filesystem::create_directories(shortcut_.parent_path());
    WriteFile(shortcut_, "link");
    game_ = sandbox_.Copy(session_.DemoGame(), "Quake3");
    session_.Tool({"reg", "add", kUninstallKey, "/v", "DisplayName", "/d", "Pelorin v1.2 (build 16)", "/f"});
    session_.Tool({"reg", "add", kUninstallKey, "/v", "UninstallString", "/d",
                   WinePath(install_ / "Uninstall.exe"), "/f"});
  }

  void TearDown() override { session_.EndAll(); }

  std::filesystem::path SetupTemp() const { return session_.TempFolder() / "SetupTemp"; }
  std::filesystem::path StartMenu() const {
    return session_.TempFolder().parent_path() / "AppData/Roaming/Microsoft/Windows/Start Menu";
  }

  void WriteLog(const std::vector<std::string>& extraEntries = {}) {
    std::string log = "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\n"
                      "readme.txt\r\nsub\\data.txt\r\n&C:\\users\\root\\AppData\\Roaming\\Microsoft\\Windows\\"
                      "Start Menu\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk\r\n";
    for (const auto& entry : extraEntries) log += entry + "\r\n";
    WriteFile(install_ / "install.log", log);
  }

  Process StartUninstall() { return session_.Start(install_ / "Uninstall.exe", {}, install_); }

  std::string Answer(const std::string& title, const std::string& button) {
    return AnswerBox(probe_, title, button);
  }

  // After a Yes: the uninstaller has removed its folder when it ends.
  void ExpectEverythingGone(Process& uninstall) {
    EXPECT_EQ(uninstall.Wait(60s), 0);
    ExpectFolderRemoved(install_.parent_path(), 1s);
    EXPECT_FALSE(std::filesystem::exists(shortcut_));
    EXPECT_FALSE(std::filesystem::exists(StartMenu() / "Programs" / "Brackwater"));
    EXPECT_FALSE(KeyExists(session_, kUninstallKey));
    ExpectBatchFoldersGone(session_);
  }

  WineSession& session_ = WineSession::Get();
  Sandbox sandbox_;
  Probe probe_{session_};
  std::filesystem::path install_ = sandbox_.Path() / "Program Files" / "Pelorin";
  std::filesystem::path shortcut_ = StartMenu() / "Programs/Brackwater/Pelorin/Pelorin.lnk";
  std::filesystem::path game_;
};

TEST_F(UninstallTest, YesClosesTheRunningEditorThenRemovesEverything) {
  WriteLog();
  WriteFile(install_ / "settings.ini", WinePath(game_) + "\r\n\r\n");
  Process editor = session_.Start(install_ / "Pelorin.exe", {}, install_);
  ASSERT_TRUE(probe_.WaitWindow("Pelorin", 20000));
  ASSERT_TRUE(KeyExists(session_, kProgramKey));

  Process uninstall = StartUninstall();
  const std::string box = Answer("Proceed with Uninstall?", "&Yes");
  EXPECT_NE(box.find(kConfirmText), std::string::npos) << box;

  EXPECT_TRUE(EditorClosedBeforeItsFileWent(probe_, install_ / "Pelorin.exe"));
  EXPECT_EQ(editor.Wait(20s), 0) << "the editor did not end by its own shut-down";
  // Its "uninstall" start removed the program's key.
  EXPECT_FALSE(KeyExists(session_, kProgramKey));
  ExpectEverythingGone(uninstall);
}

// The uninstaller's window while it asks about a shared system file, at 100 % and at 200 %:
// twice the size, with its title line whole. The removal then ends, and the install is made
// again for the second round.
TEST_F(UninstallTest, WindowAndTitleScaleWithTheDisplay) {
  std::vector<WindowInfo> windows;
  std::vector<TextInk> titles;
  for (int dpi : {96, 192}) {
    DisplayDpi display(session_, dpi);
    std::filesystem::create_directories(install_);
    for (const char* program : {"Uninstall.exe", "Pelorin.exe"})
      std::filesystem::copy_file(session_.Programs() / program, install_ / program,
                                 std::filesystem::copy_options::overwrite_existing);
    WriteFile(install_ / "install.log", "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\n"
                                        "$C:\\windows\\system32\\pelorin-shared.dll\r\n");
    Process uninstall = StartUninstall();
    Answer("Proceed with Uninstall?", "&Yes");
    const std::string question = probe_.Ask("dialog \"Uninstall System File?\" 30000", 30000);
    ASSERT_NE(question, "none");
    probe_.Ask("move " + question.substr(0, question.find(' ')) + " 0 560");  // off the window
    const auto window = probe_.WaitWindow("Uninstalling...");
    ASSERT_TRUE(window);
    const auto title = probe_.Child(window->handle, 101);
    ASSERT_TRUE(title);
    windows.push_back(*probe_.Rect(window->handle));
    titles.push_back(InkOf(probe_.Pixels(title->left, title->top, title->right - title->left,
                                         title->bottom - title->top), 0));
    Answer("Uninstall System File?", "&No");
    EXPECT_EQ(uninstall.Wait(60s), 0);
    ExpectBatchFoldersGone(session_);
  }
  // The frame is the system's: the client area is what doubles.
  EXPECT_NEAR(windows[1].Width() - 2 * windows[0].Width(), 0, 12);
  EXPECT_NEAR(windows[1].Height() - 2 * windows[0].Height(), 0, 40);
  EXPECT_TRUE(ScaledBy(titles[1], titles[0], 2))
      << titles[1].Width() << " x " << titles[1].Height() << " against " << titles[0].Width() << " x "
      << titles[0].Height();
  EXPECT_FALSE(titles[1].touchesEdge);
}

TEST_F(UninstallTest, NoRemovesNothing) {
  WriteLog();
  Process uninstall = StartUninstall();
  const auto window = probe_.WaitWindow("Uninstalling...", 20000);
  ASSERT_TRUE(window);
  const auto status = probe_.Child(window->handle, 102);
  ASSERT_TRUE(status);
  EXPECT_EQ(status->text, "Preparing to Uninstall...");
  EXPECT_EQ(probe_.Child(window->handle, 101)->text, "Uninstalling");

  EXPECT_NE(Answer("Proceed with Uninstall?", "&No"), "none");
  EXPECT_EQ(uninstall.Wait(20s), 1);
  for (const char* file : {"Uninstall.exe", "Pelorin.exe", "readme.txt", "sub/data.txt", "install.log"})
    EXPECT_TRUE(std::filesystem::exists(install_ / file)) << file;
  EXPECT_TRUE(std::filesystem::exists(shortcut_));
  EXPECT_TRUE(KeyExists(session_, kUninstallKey));
  ExpectBatchFoldersGone(session_, 0s);
}

TEST_F(UninstallTest, MissingLogSaysSoAndRemovesNothing) {
  Process uninstall = StartUninstall();
  const std::string box = Answer("Uninstall", "OK");
  EXPECT_NE(box.find("Install.log not found!"), std::string::npos) << box;
  EXPECT_EQ(uninstall.Wait(20s), 1);
  // Quietly: no message, the same exit code.
  EXPECT_EQ(session_.Start(install_ / "Uninstall.exe", {"/S"}, install_).Wait(20s), 1);
  EXPECT_TRUE(std::filesystem::exists(install_ / "readme.txt"));
  EXPECT_TRUE(std::filesystem::exists(shortcut_));
  EXPECT_TRUE(KeyExists(session_, kUninstallKey));
}

// A tampered log, and another program's window with the editor's class and title: neither
// leads the removal outside the install.
TEST_F(UninstallTest, TamperedLogAndAnotherProgramsWindowAreLeftInPlace) {
  const auto outside = sandbox_.Path() / "outside.txt";
  const auto notes = sandbox_.Path() / "notes.txt";
  const auto link = sandbox_.Path() / "elsewhere.lnk";
  for (const auto& file : {outside, notes, link}) WriteFile(file, "keep");
  WriteLog({"..\\..\\outside.txt", WinePath(outside), "&" + WinePath(notes), "$" + WinePath(notes),
            "&" + WinePath(link), "&" + WinePath(notes) + std::string(1, '\0') + ".lnk"});
  Probe other(session_, sandbox_.Copy(session_.ProbePath(), "other.exe"));
  const std::string window = other.Ask("window PelorinMain Pelorin");
  ASSERT_NE(window, "none");

  Process uninstall = StartUninstall();
  EXPECT_NE(Answer("Proceed with Uninstall?", "&Yes"), "none");
  ExpectEverythingGone(uninstall);
  for (const auto& file : {outside, notes, link}) EXPECT_EQ(ReadFile(file), "keep") << file;
  EXPECT_TRUE(probe_.WaitWindow("Pelorin", 0)) << "the other program's window was closed";
}

// A stand-in that runs as the install's main program with the editor's window, and ignores
// the close request: a quiet removal stops with its own exit code and removes nothing.
TEST_F(UninstallTest, AnEditorThatDoesNotEndStopsAQuietRemoval) {
  WriteLog();
  std::filesystem::copy_file(session_.ProbePath(), install_ / "Pelorin.exe",
                             std::filesystem::copy_options::overwrite_existing);
  Probe editor(session_, install_ / "Pelorin.exe");
  ASSERT_NE(editor.Ask("window PelorinMain Pelorin stubborn"), "none");
  EXPECT_EQ(session_.Start(install_ / "Uninstall.exe", {"/S"}, install_).Wait(60s), 5);
  for (const char* file : {"Uninstall.exe", "Pelorin.exe", "readme.txt", "sub/data.txt", "install.log"})
    EXPECT_TRUE(std::filesystem::exists(install_ / file)) << file;
  EXPECT_TRUE(std::filesystem::exists(shortcut_));
  EXPECT_TRUE(KeyExists(session_, kUninstallKey));
}

}  // namespace
}  // namespace pelorin::e2e
