#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "EditorFixture.h"
#include "FilePack.h"
#include "Process.h"
#include "RemovalFixture.h"
#include "SetupData.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

std::filesystem::path Shipped() { return WineSession::Get().Shipped(); }

// The shipped files signed by tools/sign.sh with a throwaway certificate (the signing test).
std::filesystem::path Signed() { return PELORIN_E2E_SIGNED; }

// The machine code of the shipped programs is 32-bit x86, GUI programs that need only
// system DLLs that Windows always takes from its own folder (ShippedImports checks the
// whole KnownDLLs list without objdump).
class ShippedFile : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedFile, IsA32BitGuiProgramThatImportsOnlySystemDlls) {
  const auto program = Shipped() / GetParam();
  ASSERT_TRUE(std::filesystem::exists(program)) << program;
  const RunResult headers = e2e::Run({"i686-w64-mingw32-objdump", "-p", program.string()});
  ASSERT_EQ(headers.exitCode, 0);
  EXPECT_NE(headers.output.find("file format pei-i386"), std::string::npos);
  EXPECT_NE(headers.output.find("Subsystem\t\t00000002\t(Windows GUI)"), std::string::npos);

  const std::vector<std::string> system = {"KERNEL32.DLL", "USER32.DLL",   "GDI32.DLL",   "MSVCRT.DLL",
                                           "SHELL32.DLL",  "ADVAPI32.DLL", "OLE32.DLL"};
  std::size_t at = 0;
  int imports = 0;
  while ((at = headers.output.find("DLL Name: ", at)) != std::string::npos) {
    at += 10;
    std::string name = headers.output.substr(at, headers.output.find('\n', at) - at);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ++imports;
    EXPECT_NE(std::find(system.begin(), system.end(), name), system.end()) << name;
  }
  EXPECT_GT(imports, 0);
  std::cout << GetParam() << ": " << std::filesystem::file_size(program) << " bytes\n";
}

INSTANTIATE_TEST_SUITE_P(ShippedProgram, ShippedFile, ::testing::Values("Pelorin.exe", "setup.exe", "Uninstall.exe"));

// setup.exe carries both programs byte for byte (the uninstaller made of its own image) and
// the setup data, and stays smaller than the setup it replaces.
TEST(ShippedProgram, SetupHoldsBothProgramsAndItsDataWithinTheSizeLimit) {
  const std::string setup = ReadFile(Shipped() / "setup.exe");
  EXPECT_LT(setup.size(), 456465u);
  // Each program asks Windows for its caller's rights alone: setup raises its own only for
  // an install for everyone, and the editor never runs with more.
  for (const char* program : {"setup.exe", "Uninstall.exe", "Pelorin.exe"}) {
    const std::string image = ReadFile(Shipped() / program);
    EXPECT_NE(image.find("requestedExecutionLevel level=\"asInvoker\""), std::string::npos) << program;
    EXPECT_EQ(image.find("requireAdministrator"), std::string::npos) << program;
  }
  ASSERT_GT(setup.size(), kTrailerSize);
  const auto trailer = ParseTrailer(std::string_view(setup).substr(setup.size() - kTrailerSize), setup.size());
  ASSERT_TRUE(trailer);
  const PackList list = ParsePackList(std::string_view(setup).substr(trailer->listPosition - 1, trailer->listLength));
  ASSERT_TRUE(list.headerValid);
  ASSERT_FALSE(list.damaged);
  std::vector<std::string> names;
  for (const auto& record : list.records) names.push_back(std::string(record.name));
  EXPECT_EQ(names, (std::vector<std::string>{"Uninstall.exe", "Pelorin.exe", "%SETUPINFO%", "%SHORTCUTS%",
                                             "%LICENSE%", "%README%", "%SIDEPIC%"}));
  const std::string_view data = std::string_view(setup).substr(trailer->dataPosition - 1, trailer->dataLength);
  EXPECT_EQ(data.substr(0, 21), "KESTRELBOX@PACKEDFILE");
  const PackRecord* editor = list.Find("Pelorin.exe");
  ASSERT_TRUE(editor);
  EXPECT_EQ(data.substr(editor->offset - 1, editor->size), ReadFile(Shipped() / "Pelorin.exe"));
  const PackRecord* uninstaller = list.Find("Uninstall.exe");
  ASSERT_TRUE(uninstaller);
  // The uninstaller is setup's own image: the pack holds only what it has beside that image.
  EXPECT_EQ(uninstaller->size, kSelfItemHead + kRemovalMarkSize);
  EXPECT_TRUE(ProgramOfSelfItem(std::string_view(setup).substr(0, trailer->listPosition - 1),
                                data.substr(uninstaller->offset - 1, uninstaller->size)) ==
              ReadFile(Shipped() / "Uninstall.exe"));
  const PackRecord* info = list.Find("%SETUPINFO%");
  EXPECT_EQ(data.substr(info->offset - 1, info->size),
            "Pelorin\r\n1.2 (build 16)\r\nBrackwater\r\n 1 \r\n 0 \r\n\r\n 1 \r\n 1 \r\nPelorin.exe\r\n 0 \r\n");
}

// The very file that ships, started under 32-bit Wine. Where the machine has no 32-bit
// execution of its own this runs through an emulator and takes a minute or two.
// On its first start the name box holds the name the game starts with: autoexec.cfg's bare
// `name` after q3config.cfg made the cvar. The preview then draws colour pairs as the game
// does: "^8" black, "^c" yellow, "^^" a caret (a blank cell) before the pair "^4".
TEST(ShippedProgram, OpensItsWindowAndDrawsTheTypedName) {
  WineSession& session = WineSession::Get();
  ASSERT_EQ(session.Problem(), "");
  Sandbox sandbox;
  const auto program = sandbox.Copy(Shipped() / "Pelorin.exe", "Pelorin.exe");
  const auto game = sandbox.Copy(session.DemoGame(), "Quake3");
  WriteFile(game / "baseq3/q3config.cfg", "seta name \"^1Old\"\n");
  WriteFile(game / "baseq3/autoexec.cfg", "name \"^2Auto\"\n");
  Probe probe(session);
  // Started in the game folder, it takes that folder without asking.
  Process editor = session.Start(program, {}, game);
  const auto window = probe.WaitWindow("Pelorin", 400000);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Width(), 363);
  EXPECT_EQ(window->Height(), 183);
  const auto nameBox = probe.Child(window->handle, 100);
  ASSERT_TRUE(nameBox);
  // The name follows the window: looking up the engine's home path loads the shell.
  std::string startName;
  for (int tries = 0; tries < 100 && (startName = probe.Text(nameBox->handle)).empty(); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(startName, "^2Auto");

  input::Click(window->left + 60, window->top + 38);
  input::Key("ctrl+a");
  input::Type("^8A^cB^^4C");
  // The colours of each 16-pixel column's glyph pixels, band colour left out.
  const auto columns = [&] {
    std::vector<std::set<std::uint32_t>> inks(6);
    const auto band = probe.Pixels(window->left + 50, window->top + 54, 16 * 6, 16);
    for (const auto& row : band)
      for (std::size_t x = 0; x < row.size() && x < 16 * 6; ++x)
        if (row[x] != kBand) inks[x / 16].insert(row[x]);
    return inks;
  };
  const std::vector<std::set<std::uint32_t>> expected = {{0x000000}, {kYellow}, {}, {0x0000FF}, {}, {}};
  auto drawn = columns();
  for (int attempt = 0; attempt < 100 && drawn != expected; ++attempt) {
    std::this_thread::sleep_for(1s);
    drawn = columns();
  }
  EXPECT_EQ(drawn, expected);
  EXPECT_EQ(probe.Text(nameBox->handle), "^8A^cB^^4C");
  session.EndAll();
}

// One whole install through the shipped setup's wizard, and its removal by the shipped
// uninstaller. As 32-bit programs they use the registry's 32-bit view.
// The install flows of the shipped programs, each from an empty install place.
using ShippedInstall = InstallPlacesTest;

TEST_F(ShippedInstall, SetupInstallsThroughItsWizardAndUninstallRemovesIt) {
  WineSession& session = session_;
  const InstallPlaces& places = places_;
  Probe& probe = probe_;
  const auto program = sandbox_.Copy(Shipped() / "setup.exe", "setup.exe");
  Process setup = session.Start(program, {}, sandbox_.Path());
  const auto wizard = probe.WaitWindow("Pelorin v1.2 (build 16)", 400000);
  ASSERT_TRUE(wizard);
  // Begin, Next, the run box cleared, Install; each shows once its page is up.
  for (int id : {110, 111, 133, 112}) {
    std::optional<ControlInfo> button;
    for (int attempt = 0; attempt < 120 && !(button && button->visible); ++attempt) {
      if (attempt > 0) std::this_thread::sleep_for(500ms);
      button = probe.Child(wizard->handle, id);
    }
    ASSERT_TRUE(button && button->visible) << id;
    input::ClickCentre(*button);
  }
  EXPECT_EQ(setup.Wait(300s), 0);
  EXPECT_EQ(ReadFile(places.Folder32() / "Pelorin.exe"), ReadFile(Shipped() / "Pelorin.exe"));
  EXPECT_EQ(ReadFile(places.Folder32() / "Uninstall.exe"), ReadFile(Shipped() / "Uninstall.exe"));
  EXPECT_EQ(ReadFile(places.Folder32() / "install.log"), InstallPlaces::Log());
  const std::string key = places.Registration("/reg:32");
  EXPECT_TRUE(HasValue(key, "DisplayName", "REG_SZ", "Pelorin v1.2 (build 16)")) << key;
  EXPECT_TRUE(HasValue(key, "UninstallString", "REG_SZ",
                       "\"C:\\Program Files (x86)\\Brackwater\\Pelorin\\Uninstall.exe\"")) << key;
  // With administrator rights, as Wine gives them, in every user's Start Menu.
  EXPECT_EQ(probe.Ask("link \"" + InstallPlaces::Link() + "\"").rfind(
                "C:\\x5CProgram Files (x86)\\x5CBrackwater\\x5CPelorin\\x5CPelorin.exe|", 0), 0u);
  EXPECT_TRUE(places.SetupFolders().empty());

  Process uninstall = session.Start(places.Folder32() / "Uninstall.exe", {}, places.Folder32());
  const std::string box = AnswerBox(probe, "Proceed with Uninstall?", "&Yes", 400000);
  EXPECT_NE(box.find(kConfirmText), std::string::npos) << box;
  EXPECT_EQ(uninstall.Wait(600s), 0);
  ExpectFolderRemoved(places.Folder32(), 300s);
  EXPECT_FALSE(std::filesystem::exists(places.LinkFolder()));
  EXPECT_FALSE(KeyExists(session, kUninstallKey, "/reg:32"));
  ExpectBatchFoldersGone(session, 120s);
}

// The game's own folder as install folder, with a German locale, whose interpreter asks
// "(Ja|Nein)": removal takes exactly what setup put there, and its interpreter ends. The
// setup is the signed one: it finds its pack before the certificate table, installs the signed
// programs byte for byte, and the signed uninstaller removes them quietly.
TEST_F(ShippedInstall, RemovalFromTheGameFolderLeavesEveryFileThatWasThere) {
  WineSession& session = session_;
  const InstallPlaces& places = places_;
  Sandbox& sandbox = sandbox_;
  const auto RunInGerman = [&](const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    ProcessOptions options = session.Options(sandbox.Path());
    options.environment.push_back("LANG=de_DE.UTF-8");
    std::vector<std::string> argv{session.Loader(), program.string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return Process(argv, options).Wait(300s);
  };
  const auto games = session.DriveC() / "Games";
  const auto game = games / "Quake3";
  std::filesystem::remove_all(games);
  std::filesystem::create_directories(games);
  std::filesystem::copy(session.DemoGame(), game, std::filesystem::copy_options::recursive);
  WriteFile(game / "quake3.exe", "MZ the game");
  WriteFile(game / "notes.txt", "my binds");
  std::map<std::filesystem::path, std::string> before;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(game))
    if (entry.is_regular_file()) before[entry.path()] = ReadFile(entry.path());

  ASSERT_EQ(RunInGerman(sandbox.Copy(Signed() / "setup.exe", "setup.exe"), {"/S", "/D=C:\\Games\\Quake3"}), 0);
  std::filesystem::path uninstaller;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(game))
    if (entry.path().filename() == "Uninstall.exe") uninstaller = entry.path();
  ASSERT_FALSE(uninstaller.empty());
  EXPECT_EQ(ReadFile(uninstaller), ReadFile(Signed() / "Uninstall.exe"));
  EXPECT_EQ(ReadFile(uninstaller.parent_path() / "Pelorin.exe"), ReadFile(Signed() / "Pelorin.exe"));
  EXPECT_NE(ReadFile(Signed() / "Pelorin.exe"), ReadFile(Shipped() / "Pelorin.exe"));
  WriteFile(uninstaller.parent_path() / "settings.ini", "C:\\Games\\Quake3\\\r\n");
  EXPECT_EQ(RunInGerman(uninstaller, {"/S"}), 0);

  std::map<std::filesystem::path, std::string> after;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(game))
    if (entry.is_regular_file()) after[entry.path()] = ReadFile(entry.path());
  EXPECT_TRUE(after == before) << after.size() << " files after, " << before.size() << " before";
  EXPECT_TRUE(std::filesystem::is_directory(game));
  EXPECT_FALSE(std::filesystem::exists(game / "Pelorin")) << "the install folder setup made in it stays";
  EXPECT_FALSE(std::filesystem::exists(places.LinkFolder()));
  EXPECT_FALSE(KeyExists(session, kUninstallKey, "/reg:32"));
  EXPECT_TRUE(WaitUntil([&] { return !InterpreterRunning(session); }, 300s)) << "an interpreter keeps running";
  ExpectBatchFoldersGone(session, 120s);
  std::filesystem::remove_all(games);
}

}  // namespace
}  // namespace pelorin::e2e
