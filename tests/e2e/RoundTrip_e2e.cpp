#include <gtest/gtest.h>

#include <set>

#include "RemovalFixture.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr char kMakerKey[] = "HKLM\\SOFTWARE\\Brackwater";

// Installs with the built setup through its wizard, and removes with the installed uninstaller.
class RoundTripTest : public InstallPlacesTest {
 protected:
  void SetUp() override {
    InstallPlacesTest::SetUp();
    // Other tests leave the maker's key behind, the shipped 32-bit editor's in the 32-bit view.
    for (const char* view : {"/reg:32", "/reg:64"}) session_.Tool({"reg", "delete", kMakerKey, "/f", view});
  }

  // Begin, Next, then Install with the run box cleared; waits for setup to end.
  void Install() {
    Process setup = session_.Start(sandbox_.Copy(session_.Programs() / "setup.exe", "setup.exe"), {},
                                   sandbox_.Path());
    const auto wizard = probe_.WaitWindow("Pelorin v1.2 (build 16)", 20000);
    ASSERT_TRUE(wizard) << "the wizard did not appear";
    for (int id : {110, 111, 133, 112}) {
      std::optional<ControlInfo> control;
      ASSERT_TRUE(WaitUntil([&] { return (control = probe_.Child(wizard->handle, id)) && control->visible; }, 10s)) << id;
      input::ClickCentre(*control);
    }
    ASSERT_EQ(setup.Wait(60s), 0);
    ASSERT_TRUE(std::filesystem::exists(places_.Folder() / "install.log"));
  }

  Process StartUninstall() {
    Process uninstall = session_.Start(places_.Folder() / "Uninstall.exe", {}, places_.Folder());
    const std::string box = AnswerBox(probe_, "Proceed with Uninstall?", "&Yes");
    EXPECT_NE(box.find(kConfirmText), std::string::npos) << box;
    return uninstall;
  }

  void ExpectRemoved(Process& uninstall) {
    EXPECT_EQ(uninstall.Wait(60s), 0);
    ExpectFolderRemoved(places_.Folder());
    // The batch file removes the emptied parent just after the folder: give it that moment.
    ExpectFolderRemoved(places_.Folder().parent_path());
    EXPECT_FALSE(std::filesystem::exists(places_.LinkFolder()));
    EXPECT_FALSE(KeyExists(session_, kUninstallKey));
    ExpectBatchFoldersGone(session_);
  }

  // Every file and folder of drive C: outside the system's own folder and the temporary folder.
  std::set<std::string> DriveContents() const {
    std::set<std::string> paths;
    const auto drive = session_.DriveC();
    for (auto entry = std::filesystem::recursive_directory_iterator(drive);
         entry != std::filesystem::recursive_directory_iterator(); ++entry) {
      const std::string relative = std::filesystem::relative(entry->path(), drive).string();
      if (relative == "windows" || relative == "users/root/Temp") entry.disable_recursion_pending();
      else paths.insert(relative);
    }
    return paths;
  }

};

TEST_F(RoundTripTest, InstallSaveANameAndRemoveWhileTheEditorRuns) {
  Install();
  const auto game = sandbox_.Copy(session_.DemoGame(), "Quake3");
  const auto editorFile = places_.Folder() / "Pelorin.exe";
  {
    // Started in the game folder, the editor takes it without asking.
    Process editor = session_.Start(editorFile, {}, game);
    const auto window = probe_.WaitWindow("Pelorin", 20000);
    ASSERT_TRUE(window);
    input::Click(window->left + 60, window->top + 38);
    input::Type("^1Neo");
    input::Click(window->left + 286, window->top + 89);
    ASSERT_NE(probe_.Ask("menu 3000"), "none");
    input::Key("a");
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(game / "osp/autoexec.cfg").starts_with("seta name \"^1Neo\""); }, 5s));
    probe_.Ask("post " + window->handle + " 16 0 0");
    EXPECT_EQ(editor.Wait(20s), 0);
  }
  EXPECT_EQ(ReadFile(places_.Folder() / "settings.ini"), WinePath(game) + "\\\r\n^1Neo\r\n^1Neo\r\n");

  Process editor = session_.Start(editorFile, {}, places_.Folder());
  ASSERT_TRUE(probe_.WaitWindow("Pelorin", 20000));
  ASSERT_TRUE(KeyExists(session_, kProgramKey));
  Process uninstall = StartUninstall();
  EXPECT_TRUE(EditorClosedBeforeItsFileWent(probe_, editorFile));
  EXPECT_EQ(editor.Wait(20s), 0) << "the editor did not end by its own shut-down";
  EXPECT_FALSE(KeyExists(session_, kProgramKey));
  ExpectRemoved(uninstall);
  EXPECT_FALSE(KeyExists(session_, kMakerKey)) << "the maker's emptied key stays";
  // The game's files are the user's: they stay.
  EXPECT_TRUE(ReadFile(game / "osp/autoexec.cfg").starts_with("seta name \"^1Neo\""));
}

TEST_F(RoundTripTest, ThreeCyclesLeaveNothingBehind) {
  const std::set<std::string> before = DriveContents();
  for (int cycle = 0; cycle < 3; ++cycle) {
    SCOPED_TRACE(cycle);
    Install();
    Process uninstall = StartUninstall();
    ExpectRemoved(uninstall);
  }
  std::set<std::string> after = DriveContents();
  std::set<std::string> added;
  for (const auto& path : after)
    if (!before.count(path)) added.insert(path);
  EXPECT_TRUE(added.empty()) << *added.begin();
  for (const char* view : {"/reg:32", "/reg:64"}) {
    EXPECT_FALSE(KeyExists(session_, kUninstallKey, view)) << view;
    EXPECT_FALSE(KeyExists(session_, kMakerKey, view)) << view;
  }
}

}  // namespace
}  // namespace pelorin::e2e
