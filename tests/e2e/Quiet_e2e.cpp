#include <gtest/gtest.h>

#include "RemovalFixture.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr char kFolder[] = "C:\\Program Files\\Brackwater\\Pelorin\\";

// The data of a value as `reg query` lists it, or empty.
std::string ValueData(const std::string& query, const std::string& name) {
  const std::string start = "    " + name + "    REG_SZ    ";
  const std::size_t at = query.find(start);
  if (at == std::string::npos) return "";
  const std::size_t from = at + start.size();
  std::string data = query.substr(from, query.find('\n', from) - from);
  if (data.ends_with('\r')) data.pop_back();
  return data;
}

// Setup and the uninstaller with their switches: a run that showed any window waiting for an
// answer would not end by itself.
class QuietTest : public InstallPlacesTest {
 protected:
  void TearDown() override {
    InstallPlacesTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(OtherPlace().parent_path(), ignored);
  }

  std::filesystem::path OtherPlace() const { return session_.DriveC() / "Other Place/Pel"; }
  std::filesystem::path SetupCopy() { return sandbox_.Copy(session_.Programs() / "setup.exe", "setup.exe"); }

  std::optional<int> RunSetup(const std::vector<std::string>& arguments) {
    Process setup = session_.Start(setup_, arguments, sandbox_.Path());
    return setup.Wait(60s);
  }

  // Setup unpacks into a folder of its own, which goes when it ends.
  void ExpectPackCopiesGone() { EXPECT_TRUE(places_.SetupFolders().empty()); }

  void ExpectInstalledIn(const std::filesystem::path& folder) {
    // Compared as truth values: a difference would print whole programs.
    EXPECT_TRUE(ReadFile(folder / "Pelorin.exe") == ReadFile(session_.Programs() / "Pelorin.exe"));
    EXPECT_TRUE(ReadFile(folder / "Uninstall.exe") == ReadFile(session_.Programs() / "Uninstall.exe"));
    EXPECT_EQ(ReadFile(folder / "install.log"), InstallPlaces::Log());
  }

  std::filesystem::path setup_ = SetupCopy();
};

TEST_F(QuietTest, InstallTwiceThenRemoveWithTheRegisteredQuietCommand) {
  ASSERT_EQ(RunSetup({"/S"}), 0);
  ExpectPackCopiesGone();
  ExpectInstalledIn(places_.Folder());
  EXPECT_EQ(probe_.Ask("link \"" + InstallPlaces::Link() + "\""),
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5CPelorin.exe|"
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5C||Pelorin|"
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5CPelorin.exe|0|1");
  std::string key = places_.Registration("/reg:64");
  EXPECT_EQ(ValueData(key, "DisplayName"), "Pelorin v1.2 (build 16)");
  EXPECT_EQ(ValueData(key, "UninstallString"), "\"" + std::string(kFolder) + "Uninstall.exe\"");
  EXPECT_EQ(ValueData(key, "InstallLocation"), kFolder);

  // Over the first install: the user's settings stay, the log lists each entry once.
  const std::string settings = "C:\\Quake3\\\r\n^1Neo\r\n";
  WriteFile(places_.Folder() / "settings.ini", settings);
  ASSERT_EQ(RunSetup({"/S"}), 0);
  ExpectInstalledIn(places_.Folder());
  EXPECT_EQ(ReadFile(places_.Folder() / "settings.ini"), settings);

  key = places_.Registration("/reg:64");
  const std::string quiet = ValueData(key, "QuietUninstallString");
  ASSERT_EQ(quiet, "\"" + std::string(kFolder) + "Uninstall.exe\" /S") << key;
  // The command as the system's list of programs runs it: the quoted program, then "/S".
  Process uninstall = session_.Start(quiet.substr(1, quiet.rfind('"') - 1), {quiet.substr(quiet.rfind('"') + 2)},
                                     sandbox_.Path());
  EXPECT_EQ(uninstall.Wait(60s), 0);
  // Done when it returns: a setup started now finds nothing of the removal still at work.
  EXPECT_FALSE(std::filesystem::exists(places_.Folder().parent_path()));
  EXPECT_FALSE(std::filesystem::exists(places_.LinkFolder()));
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));
  ExpectBatchFoldersGone(session_);
}

// A folder given on the command line, then an upgrade that finds it by itself, in a quiet
// run and on the wizard's path page.
TEST_F(QuietTest, AnEarlierInstallsFolderIsUsedAgain) {
  ASSERT_EQ(RunSetup({"/S", "/D=C:\\Other", "Place\\Pel"}), 0);
  ExpectInstalledIn(OtherPlace());
  EXPECT_FALSE(std::filesystem::exists(places_.Folder()));

  // An older editor is replaced (a newer one would be kept).
  WriteFile(OtherPlace() / "Pelorin.exe", "an older editor");
  std::filesystem::last_write_time(OtherPlace() / "Pelorin.exe", std::filesystem::file_time_type::clock::now() - 24h * 3650);
  ASSERT_EQ(RunSetup({"/S"}), 0);
  ExpectInstalledIn(OtherPlace());
  EXPECT_FALSE(std::filesystem::exists(places_.Folder()));

  Process setup = session_.Start(setup_, {}, sandbox_.Path());
  const auto wizard = probe_.WaitWindow("Pelorin v1.2 (build 16)", 20000);
  ASSERT_TRUE(wizard);
  input::ClickCentre(*probe_.Child(wizard->handle, 110));  // Begin
  EXPECT_EQ(probe_.Text(probe_.Child(wizard->handle, 131)->handle), "C:\\x5COther Place\\x5CPel");
  input::Key("Escape");  // back to the licence page
  input::Key("Escape");  // cancel
  EXPECT_EQ(setup.Wait(20s), 0);
}

TEST_F(QuietTest, AFolderThatCannotBeMadeFailsAndLeavesNothing) {
  WriteFile(sandbox_.Path() / "blocker", "a file where a folder should go");
  EXPECT_EQ(RunSetup({"/S", "/D=" + WinePath(sandbox_.Path() / "blocker" / "Pelorin")}), 3);
  ExpectPackCopiesGone();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sandbox_.Path()), {}), 2);  // setup, blocker
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));
  EXPECT_FALSE(std::filesystem::exists(places_.LinkFolder()));

  EXPECT_EQ(RunSetup({"/S", "/X"}), 2);
}

// Setup finds the editor open: the wizard's install asks until it is closed; a quiet one
// closes it.
TEST_F(QuietTest, ARunningEditorIsClosedBeforeCopying) {
  ASSERT_EQ(RunSetup({"/S"}), 0);
  const auto game = sandbox_.Copy(session_.DemoGame(), "Quake3");
  WriteFile(places_.Folder() / "settings.ini", WinePath(game) + "\r\n\r\n");
  const auto editorFile = places_.Folder() / "Pelorin.exe";
  std::optional<Process> editor(session_.Start(editorFile, {}, places_.Folder()));
  const auto window = probe_.WaitWindow("Pelorin", 20000);
  ASSERT_TRUE(window);
  std::filesystem::remove(places_.Folder() / "Uninstall.exe");  // not held: shows what was copied

  Process setup = session_.Start(setup_, {}, sandbox_.Path());
  const auto wizard = probe_.WaitWindow("Pelorin v1.2 (build 16)", 20000);
  ASSERT_TRUE(wizard);
  for (int id : {110, 111, 133, 112}) input::ClickCentre(*probe_.Child(wizard->handle, id));
  std::string box = probe_.Ask("dialog Setup 20000", 20000);
  EXPECT_NE(box.find("Pelorin is running. Close it and press Retry, or press Cancel to stop the installation."),
            std::string::npos) << box;
  EXPECT_FALSE(std::filesystem::exists(places_.Folder() / "Uninstall.exe")) << "copied before the answer";
  probe_.Ask("post " + window->handle + " 16 0 0");  // WM_CLOSE
  ASSERT_EQ(editor->Wait(20s), 0);
  probe_.Ask("press " + box.substr(0, box.find(' ')) + " &Retry");
  EXPECT_EQ(setup.Wait(60s), 0);
  ExpectInstalledIn(places_.Folder());

  editor.emplace(session_.Start(editorFile, {}, places_.Folder()));
  ASSERT_TRUE(probe_.WaitWindow("Pelorin", 20000));
  EXPECT_EQ(RunSetup({"/S"}), 0);
  EXPECT_EQ(editor->Wait(20s), 0) << "the editor did not end by its own shut-down";
  ExpectInstalledIn(places_.Folder());

  // Another program's window with the editor's class and title neither holds setup up nor
  // is closed.
  Probe other(session_, sandbox_.Copy(session_.ProbePath(), "other.exe"));
  ASSERT_NE(other.Ask("window PelorinMain Pelorin"), "none");
  EXPECT_EQ(RunSetup({"/S"}), 0);
  EXPECT_TRUE(probe_.WaitWindow("Pelorin", 0)) << "the other program's window was closed";
}

}  // namespace
}  // namespace pelorin::e2e
