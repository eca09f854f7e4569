#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "EditorFixture.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr char kProgramKey[] = "HKLM\\SOFTWARE\\Brackwater\\Pelorin";

std::vector<ControlInfo> DialogControls(Probe& probe, const std::string& title, std::string& handle) {
  const std::string answer = probe.Ask("waitclass #32770 \"" + title + "\" 10000", 10000);
  handle = answer.substr(0, answer.find(' '));
  if (answer == "none") return {};
  return probe.Children(handle);
}

std::string ControlText(const std::vector<ControlInfo>& controls, int id) {
  for (const auto& control : controls)
    if (control.id == id) return control.text;
  return "(missing)";
}

// Starts without a settings file, from the sandbox, which is no game folder.
class FirstStartTest : public EditorTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.Problem(), "");
    program_ = sandbox_.Copy(session_.Programs() / "Pelorin.exe", "Pelorin.exe");
    game_ = sandbox_.Copy(session_.DemoGame(), "Quake3");
  }
};

TEST_F(FirstStartTest, AsksWhereTheGameIsAndKeepsTheAnswer) {
  editor_.emplace(session_.Start(program_, {}, sandbox_.Path()));
  std::string dialog;
  auto controls = DialogControls(probe_, "Where is Quake 3?", dialog);
  ASSERT_FALSE(controls.empty()) << "the locator did not open";
  EXPECT_EQ(ControlText(controls, 203), "Not a valid Quake 3 Directory...");
  EXPECT_EQ(ControlText(controls, 204), "&Cancel");
  EXPECT_EQ(probe_.Ask("gone Pelorin 0"), "gone") << "the main window shows before the locator closed";

  // Open the folder "Quake3": the last entry of the folder list.
  const auto list = probe_.Child(dialog, 202);
  ASSERT_TRUE(list);
  EXPECT_EQ(probe_.Ask("items " + list->handle), "[..]|0;[Quake3]|0;");
  input::Click(list->left + 20, list->top + 5);
  input::Key("End");
  input::Key("Return");
  controls = probe_.Children(dialog);
  EXPECT_EQ(ControlText(controls, 203), "Valid Quake 3 Directory !!");
  EXPECT_EQ(ControlText(controls, 204), "&Accept");

  const auto button = probe_.Child(dialog, 204);
  input::ClickCentre(*button);
  window_ = probe_.WaitWindow("Pelorin");
  ASSERT_TRUE(window_);
  EXPECT_TRUE(probe_.Child(window_->handle, kSaveButtonId)->enabled);

  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), WinePath(game_) + "\r\n\r\n");
}

TEST_F(FirstStartTest, CancelledLocatorLeavesSaveDisabledAndAsksAgainNextTime) {
  editor_.emplace(session_.Start(program_, {}, sandbox_.Path()));
  std::string dialog;
  ASSERT_FALSE(DialogControls(probe_, "Where is Quake 3?", dialog).empty());
  const auto button = probe_.Child(dialog, 204);
  input::ClickCentre(*button);
  window_ = probe_.WaitWindow("Pelorin");
  ASSERT_TRUE(window_);
  EXPECT_FALSE(probe_.Child(window_->handle, kSaveButtonId)->enabled);
  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), "\r\n\r\n");
}

// No name command in baseq3's configs: the name box starts empty.
TEST_F(FirstStartTest, StartedInTheGameFolderAcceptsItUnseen) {
  WriteFile(game_ / "baseq3/q3config.cfg", "seta rate \"25000\"\n");
  StartEditor({}, game_);
  EXPECT_EQ(probe_.Ask("gone \"Where is Quake 3?\" 0"), "gone");
  EXPECT_TRUE(probe_.Child(window_->handle, kSaveButtonId)->enabled);
  EXPECT_EQ(NameText(), "");
  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), WinePath(game_) + "\r\n\r\n");
}

// Steam's uninstall entry, where the engine looks first, in the registry's 32-bit view.
TEST_F(FirstStartTest, TakesTheGameFolderThatSteamRecordedWithoutAsking) {
  const std::string steamKey = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 2200";
  ASSERT_EQ(session_.Tool({"reg", "add", steamKey, "/v", "InstallLocation", "/d", WinePath(game_), "/f", "/reg:32"}).exitCode, 0);
  editor_.emplace(session_.Start(program_, {}, sandbox_.Path()));
  window_ = probe_.WaitWindow("Pelorin");
  session_.Tool({"reg", "delete", steamKey, "/f", "/reg:32"});
  ASSERT_TRUE(window_);
  EXPECT_EQ(probe_.Ask("gone \"Where is Quake 3?\" 0"), "gone");
  EXPECT_TRUE(probe_.Child(window_->handle, kSaveButtonId)->enabled);
  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), WinePath(game_) + "\r\n\r\n");
}

TEST_F(EditorTest, NormalStartRegistersTheProgramAndUninstallStartRemovesIt) {
  const RunResult key = session_.Tool({"reg", "query", kProgramKey});
  EXPECT_NE(key.output.find(WinePath(program_)), std::string::npos) << key.output;
  EXPECT_NE(key.output.find("Version"), std::string::npos) << key.output;
  EXPECT_NE(key.output.find("1.2.16"), std::string::npos) << key.output;
  CloseEditor();

  Process uninstall = session_.Start(program_, {"UNINSTALL"}, sandbox_.Path());
  EXPECT_EQ(uninstall.Wait(20s), 0);
  EXPECT_EQ(probe_.Ask("gone Pelorin 0"), "gone");
  const RunResult gone = session_.Tool({"reg", "query", kProgramKey});
  EXPECT_NE(gone.exitCode, 0) << gone.output;
}

TEST_F(FirstStartTest, UninstallStartNeverAsksForTheGameFolder) {
  Process uninstall = session_.Start(program_, {"uninstall"}, sandbox_.Path());
  EXPECT_EQ(uninstall.Wait(20s), 0);
  EXPECT_EQ(probe_.Ask("gone \"Where is Quake 3?\" 0"), "gone");
}

// The prefix's browser is a script that notes the address it is given.
TEST_F(EditorTest, MakersPageOpensOnAClickInALinkAreaNotOnThePress) {
  const std::filesystem::path opened = sandbox_.Path() / "opened";
  const std::filesystem::path browser = sandbox_.Path() / "browser.sh";
  WriteFile(browser, "#!/bin/sh\necho \"$@\" >> '" + opened.string() + "'\n");
  std::filesystem::permissions(browser, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
  ASSERT_EQ(session_.Tool({"reg", "add", "HKCU\\Software\\Wine\\WineBrowser", "/v", "Browsers", "/d",
                           browser.string(), "/f"}).exitCode, 0);
  input::Click(X(186 + 30), Y(80 + 9));  // expanded: the link areas lie in the lower part

  input::Press(X(126 + 60), Y(351 + 8));  // on the page link, released off it
  input::MoveTo(X(126 + 60), Y(300));
  input::Release();
  std::this_thread::sleep_for(3s);
  EXPECT_FALSE(std::filesystem::exists(opened)) << "the page opened on the press";

  input::Click(X(126 + 60), Y(351 + 8));
  for (int i = 0; i < 100 && !std::filesystem::exists(opened); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_NE(ReadFile(opened).find("http://www.brackwater.example/pelorin/"), std::string::npos);
}

TEST_F(EditorTest, SettingsFileRestoresNameAndHistory) {
  CloseEditor();
  WriteFile(SettingsFile(), WinePath(game_) + "\r\n^2Last\r\n^2Last\r\n\r\nOlder\r\n");
  StartEditor();
  EXPECT_EQ(NameText(), "^2Last");
  // History row 1 holds "Older": its band shows glyph pixels, row 2 only the band colour.
  bool drawn = false;
  for (const auto& row : probe_.Pixels(X(50), Y(108 + 16), 48, 16))
    for (auto pixel : row) drawn = drawn || pixel != kBand;
  EXPECT_TRUE(drawn);
  for (const auto& row : probe_.Pixels(X(50), Y(108 + 33), 48, 14))
    for (auto pixel : row) ASSERT_EQ(pixel, kBand);
  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), WinePath(game_) + "\r\n^2Last\r\n^2Last\r\nOlder\r\n");
}

TEST_F(EditorTest, DeleteCommandRemovesTheRightClickedHistoryRow) {
  CloseEditor();
  WriteFile(SettingsFile(), WinePath(game_) + "\r\nb\r\na\r\nb\r\nc\r\n");
  StartEditor();
  input::MoveTo(X(60), Y(108 + 20));
  input::Click(X(60), Y(108 + 20), 3);  // row 1: "b"
  ASSERT_NE(probe_.Ask("menu 3000"), "none");
  input::Key("d");
  // Row 3 holds no name: deleting it changes nothing.
  input::MoveTo(X(60), Y(108 + 55));
  input::Click(X(60), Y(108 + 55), 3);
  ASSERT_NE(probe_.Ask("menu 3000"), "none");
  input::Key("d");
  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), WinePath(game_) + "\r\nb\r\na\r\nc\r\n");
}

}  // namespace
}  // namespace pelorin::e2e
