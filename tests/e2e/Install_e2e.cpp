#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "RemovalFixture.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr char kWizardCaption[] = "Pelorin v1.2 (build 16)";
enum WizardId : int { kNext = 110, kBack = 120, kPath = 131, kBrowse = 132, kRunBox = 133 };
constexpr unsigned kGetCheck = 0x00F0;  // BM_GETCHECK

// A text as the probe answers it: backslashes written as \x5C.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\\' ? std::string("\\x5C") : std::string(1, c);
  return out;
}

class InstallTest : public InstallPlacesTest {
 protected:
  void StartSetup(const std::filesystem::path& program) {
    setup_.emplace(session_.Start(program, {}, sandbox_.Path()));
    wizard_ = probe_.WaitWindow(kWizardCaption, 20000);
    ASSERT_TRUE(wizard_) << "the wizard did not appear";
  }
  std::string SetupCopy() { return sandbox_.Copy(session_.Programs() / "setup.exe", "setup.exe"); }

  ControlInfo Control(int id) {
    const auto control = probe_.Child(wizard_->handle, id);
    return control.value_or(ControlInfo{});
  }
  // The captions of the wizard's visible buttons, in creation order.
  std::string VisibleButtons() {
    std::string captions;
    for (const auto& control : probe_.Children(wizard_->handle))
      if (control.visible && control.className == "Button" && control.id != kRunBox) captions += control.text + ";";
    return captions;
  }
  // A key reaches the wizard later than a click's answer: the page's buttons as they stand
  // once they are the ones expected, or after five seconds.
  std::string ButtonsOnceShown(const std::string& expected) {
    std::string buttons;
    WaitUntil([&] { return (buttons = VisibleButtons()) == expected; }, std::chrono::seconds(5));
    return buttons;
  }
  void Click(int id) { input::ClickCentre(Control(id)); }
  bool Checked(int id) { return probe_.Ask("send " + Control(id).handle + " " + std::to_string(kGetCheck) + " 0 0") == "1"; }

  // The message box setup shows: its text, after which OK is pressed.
  std::string ConfirmMessage() {
    const std::string box = probe_.Ask("dialog Setup 20000", 20000);
    if (box != "none") probe_.Ask("press " + box.substr(0, box.find(' ')) + " OK");
    return box;
  }

  void ExpectPackCopiesGone() {
    EXPECT_EQ(setup_->Wait(60s), 0);
    EXPECT_TRUE(places_.SetupFolders().empty());
  }

  // The shipped items and a big one, so that copying takes long enough to be caught midway.
  std::filesystem::path BigSetup() {
    const auto big = sandbox_.Path() / "Big.dat";
    std::ofstream(big, std::ios::binary).seekp((256 << 20) - 1).put('\1');
    const std::string data = PELORIN_E2E_RESOURCES "/setup/";
    const auto program = sandbox_.Path() / "big-setup.exe";
    const RunResult made = e2e::Run({(session_.Programs().parent_path() / "host-tools/make_setup").string(),
                                     program.string(), (session_.Images() / "setup.exe").string(),
                                     "Uninstall.exe=" + (session_.Programs() / "Uninstall.exe").string(),
                                     "Pelorin.exe=" + (session_.Programs() / "Pelorin.exe").string(),
                                     "Big.dat=" + big.string(), "%SETUPINFO%=" + data + "SetupInfo.txt",
                                     "%SHORTCUTS%=" + data + "ShortCuts.txt", "%LICENSE%=" + data + "License.txt"});
    EXPECT_EQ(made.exitCode, 0) << made.output;
    std::filesystem::remove(big);
    return program;
  }
  static std::string BigLog() {
    return "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\nBig.dat\r\n&" +
           InstallPlaces::Link() + "\r\n";
  }
  // The files below the install folder whose names end in ".tmp".
  std::string TemporaryFiles() const {
    std::string found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(places_.Folder()))
      if (entry.path().extension() == ".tmp") found += " " + entry.path().string();
    return found;
  }

  std::optional<Process> setup_;
  std::optional<WindowInfo> wizard_;
};

TEST_F(InstallTest, ClicksThroughTheWizardAndInstalls) {
  // A settings file naming the game folder lets the editor open its window at once; the
  // folder is an earlier install's, so setup takes it as it is.
  const auto game = sandbox_.Copy(session_.DemoGame(), "Quake3");
  std::filesystem::create_directories(places_.Folder());
  WriteFile(places_.Folder() / "settings.ini", WinePath(game) + "\r\n\r\n");
  WriteFile(places_.Folder() / "install.log", "Pelorin\r\n1.1\r\nPelorin.exe\r\n");

  StartSetup(SetupCopy());
  EXPECT_EQ(VisibleButtons(), "&Cancel;&Begin ->;");
  Click(kNext + 0);
  EXPECT_EQ(VisibleButtons(), "...;<- &Back;&Next ->;");
  EXPECT_EQ(probe_.Text(Control(kPath).handle), "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin");
  EXPECT_EQ(Control(130).text,
            "Pelorin will be installed to the path specified below.  If you wish to change it then do so "
            "now.  Otherwise click 'Next' to continue ");
  Click(kNext + 1);
  EXPECT_EQ(VisibleButtons(), "<- &Back;&Install ->;");
  EXPECT_TRUE(Control(kRunBox).visible);
  EXPECT_TRUE(Checked(kRunBox));
  Click(kNext + 2);

  ASSERT_TRUE(probe_.WaitWindow("Pelorin", 30000)) << "the installed editor did not start";
  ExpectPackCopiesGone();
  const auto built = session_.Programs();
  EXPECT_EQ(ReadFile(places_.Folder() / "Pelorin.exe"), ReadFile(built / "Pelorin.exe"));
  EXPECT_EQ(ReadFile(places_.Folder() / "Uninstall.exe"), ReadFile(session_.Programs() / "Uninstall.exe"));
  EXPECT_EQ(ReadFile(places_.Folder() / "install.log"), InstallPlaces::Log());

  const std::string key = places_.Registration("/reg:64");
  const std::string folder = "C:\\Program Files\\Brackwater\\Pelorin\\";
  char kib[24];
  std::snprintf(kib, sizeof(kib), "0x%llx",
                static_cast<unsigned long long>((std::filesystem::file_size(built / "Pelorin.exe") +
                                                 std::filesystem::file_size(session_.Programs() / "Uninstall.exe") + 1023) / 1024));
  const std::string values[][3] = {
      {"DisplayName", "REG_SZ", "Pelorin v1.2 (build 16)"},
      {"UninstallString", "REG_SZ", "\"" + folder + "Uninstall.exe\""},
      {"DisplayVersion", "REG_SZ", "1.2 (build 16)"},
      {"Publisher", "REG_SZ", "Brackwater"},
      {"DisplayIcon", "REG_SZ", folder + "Pelorin.exe"},
      {"InstallLocation", "REG_SZ", folder},
      {"EstimatedSize", "REG_DWORD", kib},
      {"NoModify", "REG_DWORD", "0x1"},
      {"NoRepair", "REG_DWORD", "0x1"},
  };
  for (const auto& [name, type, data] : values) EXPECT_TRUE(HasValue(key, name, type, data)) << name << "\n" << key;

  EXPECT_EQ(probe_.Ask("link \"" + InstallPlaces::Link() + "\""),
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5CPelorin.exe|"
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5C||Pelorin|"
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5CPelorin.exe|0|1");
}

// Keys instead of clicks; a cancelled folder browser; a path without a trailing backslash.
TEST_F(InstallTest, TypedPathWithoutBackslashAndCancelledBrowser) {
  StartSetup(SetupCopy());
  input::Key("Return");
  ASSERT_EQ(ButtonsOnceShown("...;<- &Back;&Next ->;"), "...;<- &Back;&Next ->;");
  Click(kBrowse);
  const std::string browser = probe_.Ask("dialog \"Browse for Folder\" 20000", 20000);
  ASSERT_NE(browser, "none");
  EXPECT_NE(browser.find("Choose Install Location"), std::string::npos) << browser;
  probe_.Ask("press " + browser.substr(0, browser.find(' ')) + " Cancel");
  ASSERT_TRUE(probe_.WaitGone("Browse for Folder"));
  EXPECT_EQ(probe_.Text(Control(kPath).handle), "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin");

  // A folder of the user's (the sandbox holds setup.exe) is not taken as it is: Next shows
  // the application's own folder below it and stays on the page.
  probe_.Ask("settext " + Control(kPath).handle + " \"" + WinePath(sandbox_.Path()) + "\"");
  input::Key("Return");
  std::string own;
  for (char c : WinePath(sandbox_.Path() / "Pelorin")) own += c == '\\' ? std::string("\\x5C") : std::string(1, c);
  EXPECT_TRUE(WaitUntil([&] { return probe_.Text(Control(kPath).handle) == own; }, std::chrono::seconds(5)))
      << probe_.Text(Control(kPath).handle);
  ASSERT_EQ(VisibleButtons(), "...;<- &Back;&Next ->;");

  const auto target = sandbox_.Path() / "Typed Place";
  probe_.Ask("settext " + Control(kPath).handle + " \"" + WinePath(target) + "\"");
  input::Key("Return");
  ASSERT_EQ(ButtonsOnceShown("<- &Back;&Install ->;"), "<- &Back;&Install ->;");
  input::Key("Escape");  // Back
  ASSERT_EQ(ButtonsOnceShown("...;<- &Back;&Next ->;"), "...;<- &Back;&Next ->;");
  input::Key("alt+n");
  ASSERT_EQ(ButtonsOnceShown("<- &Back;&Install ->;"), "<- &Back;&Install ->;");
  Click(kRunBox);
  EXPECT_FALSE(Checked(kRunBox));
  input::Key("alt+i");

  ExpectPackCopiesGone();
  EXPECT_EQ(ReadFile(target / "Pelorin.exe"), ReadFile(session_.Programs() / "Pelorin.exe"));
  EXPECT_EQ(ReadFile(target / "install.log"), InstallPlaces::Log());
  EXPECT_NE(places_.Registration("/reg:64").find(WinePath(target) + "\\Uninstall.exe"), std::string::npos);
}

// Other setup information: no licence page, a fixed path, no uninstall, a system file.
TEST_F(InstallTest, FixedPathWithoutUninstallAndWithASystemFile) {
  const auto info = sandbox_.Path() / "SetupInfo.txt";
  const auto fixed = sandbox_.Path() / "Fixed";
  WriteFile(info, "Pelorin\r\n1.2 (build 16)\r\nBrackwater\r\n 0 \r\n 1 \r\n" + WinePath(fixed) +
                      "\r\n 1 \r\n 1 \r\nPelorin.exe\r\n 1 \r\n");
  const auto library = sandbox_.Path() / "PelorinTest.dll";
  WriteFile(library, "not really a library");
  const std::string data = PELORIN_E2E_RESOURCES "/setup/";
  const auto program = sandbox_.Path() / "setup.exe";
  const RunResult made = e2e::Run({(session_.Programs().parent_path() / "host-tools/make_setup").string(),
                              program.string(), (session_.Images() / "setup.exe").string(),
                              "Pelorin.exe=" + (session_.Programs() / "Pelorin.exe").string(),
                              "$PelorinTest.dll=" + library.string(), "%SETUPINFO%=" + info.string(),
                              "%SHORTCUTS%=" + data + "ShortCuts.txt", "%LICENSE%=" + data + "License.txt",
                              "%SIDEPIC%=" + data + "SidePic.bmp"});
  ASSERT_EQ(made.exitCode, 0) << made.output;
  const auto system = session_.DriveC() / "windows/system32/PelorinTest.dll";
  std::filesystem::remove(system);

  StartSetup(program);
  EXPECT_EQ(VisibleButtons(), "<- &Back;&Install ->;");  // no readme: only the run box and the label
  EXPECT_FALSE(Control(102).visible);
  Click(kBack + 2);
  EXPECT_EQ(probe_.Text(Control(kPath).handle), Escaped(WinePath(fixed)));
  Click(kBack + 1);
  EXPECT_EQ(VisibleButtons(), "&Cancel;&Begin ->;");
  Click(kNext + 0);
  Click(kNext + 1);
  Click(kNext + 2);

  // regsvr32 is waited for: a file it cannot register is reported, before the editor starts.
  const std::string report = ConfirmMessage();
  EXPECT_NE(report.find("PelorinTest.dll: regsvr32 could not register it"), std::string::npos) << report;
  ASSERT_TRUE(probe_.WaitWindow("Where is Quake 3?", 30000)) << "the installed editor did not start";
  ExpectPackCopiesGone();
  EXPECT_EQ(ReadFile(fixed / "Pelorin.exe"), ReadFile(session_.Programs() / "Pelorin.exe"));
  EXPECT_EQ(ReadFile(system), "not really a library");
  EXPECT_EQ(ReadFile(fixed / "install.log"), "&" + InstallPlaces::Link() + "\r\n");
  EXPECT_EQ(places_.Registration("/reg:64").find("DisplayName"), std::string::npos);
  std::filesystem::remove(system);
}

TEST_F(InstallTest, AFolderThatCannotBeMadeStopsTheInstall) {
  WriteFile(sandbox_.Path() / "blocker", "a file where a folder should go");
  StartSetup(SetupCopy());
  Click(kNext + 0);
  const std::string path = WinePath(sandbox_.Path() / "blocker" / "Pelorin");
  probe_.Ask("settext " + Control(kPath).handle + " \"" + path + "\"");
  Click(kNext + 1);
  Click(kNext + 2);
  const std::string box = ConfirmMessage();
  EXPECT_NE(box.find("Setup could not create the install folder "), std::string::npos) << box;
  EXPECT_NE(box.find("Nothing has been installed."), std::string::npos) << box;
  ExpectPackCopiesGone();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sandbox_.Path()), {}), 2);  // setup, blocker
  EXPECT_EQ(places_.Registration("/reg:64").find("DisplayName"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(places_.LinkFolder()));
}

// Setup data that another account left in the temporary folder, at the old place and under
// names that setup might pick, is never read nor removed: /S installs exactly what it carries.
TEST_F(InstallTest, PlantedSetupDataIsNeverRead) {
  const auto planted = sandbox_.Path() / "Planted";
  const std::string info = "Evil\r\n6.6\r\nMallory\r\n 0 \r\n 1 \r\n" + WinePath(planted) +
                           "\r\n 0 \r\n 0 \r\nEvil.exe\r\n 1 \r\n";
  std::vector<std::filesystem::path> folders = {session_.TempFolder() / "SetupTemp"};
  for (unsigned process = 0; process < 0x800; process += 4) {
    char name[32];
    std::snprintf(name, sizeof(name), "PelorinSetup-%X-0", process);
    folders.push_back(session_.TempFolder() / name);
  }
  for (const auto& folder : folders) {
    std::filesystem::create_directories(folder);
    WriteFile(folder / "SetupInfo.txt", info);
    WriteFile(folder / "Setup.lst", "List File for KESTRELBOX@PACKEDFILE\r\nEvil.exe,22,4,0,0,0,1,1,2030\r\n");
    WriteFile(folder / "Setup.mif", "KESTRELBOX@PACKEDFILEevil");
    std::filesystem::last_write_time(folder / "SetupInfo.txt",
                                     std::filesystem::file_time_type::clock::now() + std::chrono::hours(24 * 3650));
  }
  const auto before = places_.SetupFolders();

  Process setup = session_.Start(SetupCopy(), {"/S"}, sandbox_.Path());
  EXPECT_EQ(setup.Wait(60s), 0);
  EXPECT_EQ(ReadFile(places_.Folder() / "install.log"), InstallPlaces::Log());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(places_.Folder()), {}), 4);  // both programs, the log, the record of folders setup made
  EXPECT_TRUE(ReadFile(places_.Folder() / "Pelorin.exe") == ReadFile(session_.Programs() / "Pelorin.exe"));
  EXPECT_TRUE(HasValue(places_.Registration("/reg:64"), "DisplayName", "REG_SZ", "Pelorin v1.2 (build 16)"));
  EXPECT_FALSE(std::filesystem::exists(planted));
  EXPECT_EQ(places_.SetupFolders().size(), before.size());  // its own folder is gone again
  for (const auto& folder : folders) EXPECT_EQ(ReadFile(folder / "SetupInfo.txt"), info) << folder;
}

// Setup killed while it copies a big item: the next /S finishes the install with an exact
// log and no copy left over, and the removal after it leaves nothing.
TEST_F(InstallTest, AKilledSetupIsFinishedByTheNextOne) {
  const auto program = BigSetup();
  {
    Process killed = session_.Start(program, {"/S"}, sandbox_.Path());
    const auto partial = places_.Folder() / "Big.dat.tmp";
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(partial); }, 120s)) << "the big item was not copied";
    killed.Kill();
    killed.Wait(20s);
  }
  Process again = session_.Start(program, {"/S"}, sandbox_.Path());
  ASSERT_EQ(again.Wait(120s), 0);
  EXPECT_EQ(ReadFile(places_.Folder() / "install.log"), BigLog());
  EXPECT_EQ(std::filesystem::file_size(places_.Folder() / "Big.dat"), 256u << 20);
  EXPECT_EQ(TemporaryFiles(), "");

  Process removal = session_.Start(places_.Folder() / "Uninstall.exe", {"/S"}, places_.Folder());
  EXPECT_EQ(removal.Wait(60s), 0);
  ExpectFolderRemoved(places_.Folder(), 60s);
  EXPECT_FALSE(std::filesystem::exists(places_.LinkFolder()));
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));
}

// Two setups started together: one installs, the other says so in its exit code and touches
// nothing, and the install is exact.
TEST_F(InstallTest, OfTwoSetupsStartedTogetherOneInstalls) {
  const auto program = BigSetup();
  Process first = session_.Start(program, {"/S"}, sandbox_.Path());
  Process second = session_.Start(program, {"/S"}, sandbox_.Path());
  std::vector<int> codes = {first.Wait(120s).value_or(-1), second.Wait(120s).value_or(-1)};
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<int>{0, 3}));
  EXPECT_EQ(ReadFile(places_.Folder() / "install.log"), BigLog());
  EXPECT_EQ(TemporaryFiles(), "");
  EXPECT_TRUE(places_.SetupFolders().empty());
}

// An install elsewhere, then a quiet one into the default folder: the earlier one is removed
// by its own quiet removal first, and the one registration names the new folder.
TEST_F(InstallTest, AQuietInstallElsewhereRemovesTheEarlierInstallFirst) {
  const auto program = SetupCopy();
  const auto other = session_.DriveC() / "Other Place/Pel";
  Process first = session_.Start(program, {"/S", "/D=C:\\Other", "Place\\Pel"}, sandbox_.Path());
  ASSERT_EQ(first.Wait(60s), 0);
  ASSERT_TRUE(std::filesystem::exists(other / "install.log"));
  Process second = session_.Start(program, {"/S", "/D=C:\\Program", "Files\\Brackwater\\Pelorin"}, sandbox_.Path());
  EXPECT_EQ(second.Wait(120s), 0);
  ExpectFolderRemoved(other, 60s);
  // The earlier uninstaller's batch file ends before the test does, which would end it.
  ExpectBatchFoldersGone(session_, 60s);
  EXPECT_EQ(ReadFile(places_.Folder() / "install.log"), InstallPlaces::Log());
  EXPECT_TRUE(HasValue(places_.Registration("/reg:64"), "InstallLocation", "REG_SZ", "C:\\Program Files\\Brackwater\\Pelorin\\"));
  EXPECT_EQ(probe_.Ask("link \"" + InstallPlaces::Link() + "\"").rfind("C:\\x5CProgram Files\\x5CBrackwater", 0), 0u);
  std::error_code ignored;
  std::filesystem::remove_all(other.parent_path(), ignored);
}

}  // namespace
}  // namespace pelorin::e2e
