#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "EditorFixture.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

class SavingTest : public EditorTest {
 protected:
  static constexpr int kNameCounterId = 117;
  static constexpr int IDYES = 6, IDNO = 7;

  // Over the whole box: until a name is saved it starts with the one the game starts with.
  void TypeName(const std::string& name) {
    ClickNameBox();
    input::Key("ctrl+a");
    input::Type(name);
  }

  void ChooseSaveMenuItem(const std::string& key) {
    input::Click(X(256 + 30), Y(80 + 9));
    ASSERT_NE(probe_.Ask("menu 3000"), "none");
    input::Key(key);
  }

  std::string Config(const std::string& relative) { return ReadFile(game_ / relative); }

  // The chooser's handle, or "" when it did not open.
  std::string OpenChooser() {
    ChooseSaveMenuItem("s");
    const std::string answer = probe_.Ask("waitclass #32770 \"Choose Mod to Save to:\" 10000", 10000);
    return answer == "none" ? "" : answer.substr(0, answer.find(' '));
  }

  // The locator's handle once it is up, moved to the screen's corner; "" when it did not open.
  std::string WaitLocator() {
    const std::string answer = probe_.Ask("waitclass #32770 \"Where is Quake 3?\" 10000", 10000);
    if (answer == "none") return "";
    const std::string handle = answer.substr(0, answer.find(' '));
    probe_.Ask("move " + handle + " 0 0");
    return handle;
  }

  bool RedInHistoryRow(int row) {
    for (const auto& line : probe_.Pixels(X(50), Y(108 + 16 * row), 48, 16))
      for (auto pixel : line)
        if (pixel == 0xFF0000) return true;
    return false;
  }
};

TEST_F(SavingTest, SaveToAllModsRewritesEveryConfigAndRecordsTheName) {
  TypeName("^1Neo");
  ChooseSaveMenuItem("a");
  std::this_thread::sleep_for(500ms);

  const std::string baseq3 = Config("baseq3/q3config.cfg");
  EXPECT_NE(baseq3.find("\nseta name \"^1Neo\"\nseta model \"sarge\"\n"), std::string::npos) << baseq3;
  EXPECT_EQ(baseq3.find('\r'), std::string::npos) << "the file's own line ends stay";
  EXPECT_EQ(Config("osp/q3config.cfg"), "seta name \"^1Neo\"\r\nseta osp_client \"1008\"\r\nseta cg_drawTimer \"1\"\r\n");
  EXPECT_EQ(Config("osp/autoexec.cfg"), "seta name \"^1Neo\"\r\nexec q3config.cfg\r\n");
  EXPECT_EQ(Config("cpma/readme.txt"), "This mod keeps no configuration file of its own.\r\n");
  EXPECT_FALSE(std::filesystem::exists(game_ / "baseq3/q3config.cfg.tmp"));

  // The name is in history row 0, drawn red.
  bool red = false;
  for (const auto& row : probe_.Pixels(X(50), Y(108), 48, 16))
    for (auto pixel : row) red = red || pixel == 0xFF0000;
  EXPECT_TRUE(red);

  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), WinePath(game_) + "\\\r\n^1Neo\r\n^1Neo\r\n");
  StartEditor();
  EXPECT_EQ(NameText(), "^1Neo");
}

// A session whose ANSI code page (1252) holds no Cyrillic: the game folder C:\Игры\Quake3, a
// mod "мод" with "имя.cfg" in it and in the home path. A save reaches every one of them with the
// name in the game's bytes, and settings.ini keeps the folder, as UTF-8, across a restart.
class OtherScriptTest : public SavingTest {
 protected:
  OtherScriptTest() { environment_ = {"LANG=C.UTF-8", "LC_ALL=C.UTF-8"}; }
  void PrepareSettings() override {
    std::filesystem::remove_all(games_);
    std::filesystem::create_directories(games_);
    std::filesystem::copy(session_.DemoGame(), games_ / "Quake3", std::filesystem::copy_options::recursive);
    for (const auto& folder : {games_ / "Quake3" / kMod, home_ / kMod}) {
      std::filesystem::create_directories(folder);
      WriteFile(folder / kConfig, "seta name \"old\"\n");
    }
    WriteFile(SettingsFile(), std::string(kMark) + kFolder + "\r\n\r\n");
  }
  void TearDown() override {
    SavingTest::TearDown();
    std::filesystem::remove_all(games_);
    std::filesystem::remove_all(home_ / kMod);
  }

  static constexpr char kMark[] = "\xEF\xBB\xBF";
  static constexpr char kMod[] = "\xD0\xBC\xD0\xBE\xD0\xB4";                   // мод
  static constexpr char kConfig[] = "\xD0\xB8\xD0\xBC\xD1\x8F.cfg";             // имя.cfg
  static constexpr char kFolder[] = "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\Quake3";  // C:\Игры\Quake3
  std::filesystem::path games_ = session_.DriveC() / "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B";
  std::filesystem::path home_ = session_.DriveC() / "users/root/AppData/Roaming/Quake3";
};

TEST_F(OtherScriptTest, SaveReachesEveryModAndSettingsKeepTheFolder) {
  TypeName("^1Neo");
  ChooseSaveMenuItem("a");
  const auto saved = games_ / "Quake3" / kMod / kConfig;
  for (int i = 0; i < 50 && ReadFile(saved).find("Neo") == std::string::npos; ++i) std::this_thread::sleep_for(100ms);
  EXPECT_EQ(ReadFile(saved), "seta name \"^1Neo\"\n");
  EXPECT_EQ(ReadFile(home_ / kMod / kConfig), "seta name \"^1Neo\"\n");
  EXPECT_NE(ReadFile(games_ / "Quake3/baseq3/q3config.cfg").find("\nseta name \"^1Neo\"\n"), std::string::npos);
  EXPECT_EQ(probe_.Ask("dialog Pelorin 0"), "none") << "no error";

  CloseEditor();
  // The folder needs UTF-8; the names go with it.
  EXPECT_EQ(ReadFile(SettingsFile()), std::string(kMark) + kFolder + "\\\r\n^1Neo\r\n^1Neo\r\n");
  StartEditor();
  EXPECT_EQ(probe_.Ask("gone \"Where is Quake 3?\" 0"), "gone");
  EXPECT_EQ(NameText(), "^1Neo");
}

TEST_F(SavingTest, ChooserListsModsWithConfigsAndSavesOnlyTheCheckedOnes) {
  TypeName("Solo");
  ChooseSaveMenuItem("s");
  const std::string answer = probe_.Ask("waitclass #32770 \"Choose Mod to Save to:\" 10000", 10000);
  ASSERT_NE(answer, "none");
  const std::string dialog = answer.substr(0, answer.find(' '));
  const auto list = probe_.Child(dialog, 301);
  ASSERT_TRUE(list);
  EXPECT_EQ(probe_.Ask("items " + list->handle), "baseq3|0;osp|0;");

  // Save with nothing checked: the exact message, and the dialog stays.
  const auto save = probe_.Child(dialog, 302);
  input::ClickCentre(*save);
  const std::string box = probe_.Ask("dialog Pelorin 10000", 10000);
  EXPECT_NE(box.find("You didn't select any mods!  Make sure you place checks next to those you "
                     "wish to save to!"), std::string::npos) << box;
  probe_.Ask("press " + box.substr(0, box.find(' ')) + " OK");
  EXPECT_EQ(probe_.Ask("gone \"Choose Mod to Save to:\" 300"), "present");

  // Check "osp" (the second row) and save.
  input::Click(list->left + 10, list->top + 2 + 16 + 8);
  EXPECT_EQ(probe_.Ask("items " + list->handle), "baseq3|0;osp|1;");
  input::ClickCentre(*save);
  EXPECT_EQ(probe_.Ask("gone \"Choose Mod to Save to:\" 5000", 5000), "gone");
  EXPECT_EQ(Config("osp/autoexec.cfg"), "seta name \"Solo\"\r\nexec q3config.cfg\r\n");
  EXPECT_NE(Config("baseq3/q3config.cfg").find("seta name \"\""), std::string::npos);
}

// The locator a save opens is modal to the window the save runs from: the main window takes
// no click while it is up (moved aside first, as it opens over the Save button).
TEST_F(SavingTest, MovedGameFolderOffersAModalLocatorAndClosingItWritesNothing) {
  CloseEditor();
  WriteFile(SettingsFile(), WinePath(sandbox_.Path() / "Moved") + "\r\n\r\n");
  StartEditor();
  TypeName("x");
  ChooseSaveMenuItem("a");
  const std::string locator = WaitLocator();
  ASSERT_NE(locator, "");
  EXPECT_EQ(probe_.Ask("enabled " + window_->handle), "disabled");
  input::Click(X(256 + 30), Y(80 + 9));
  EXPECT_EQ(probe_.Ask("menu 700", 700), "none") << "a second save could start inside the first";
  input::Click(X(357), Y(10));  // the close mark
  EXPECT_EQ(probe_.Ask("gone Pelorin 500", 500), "present");

  probe_.Ask("post " + locator + " 16 0 0");  // closed unanswered
  EXPECT_EQ(probe_.Ask("gone \"Where is Quake 3?\" 5000", 5000), "gone");
  EXPECT_EQ(probe_.Ask("enabled " + window_->handle), "enabled");
  EXPECT_NE(Config("baseq3/q3config.cfg").find("seta name \"\""), std::string::npos);
}

TEST_F(SavingTest, LocatorFromTheChooserKeepsTheChooserFromClosing) {
  TypeName("y");
  const std::string dialog = OpenChooser();
  ASSERT_NE(dialog, "");
  const auto list = probe_.Child(dialog, 301);
  input::Click(list->left + 10, list->top + 2 + 8);  // check baseq3
  std::filesystem::rename(game_, sandbox_.Path() / "Moved");
  input::ClickCentre(*probe_.Child(dialog, 302));
  const std::string locator = WaitLocator();
  ASSERT_NE(locator, "");
  input::ClickCentre(*probe_.Child(dialog, 303));  // the chooser's Cancel
  EXPECT_EQ(probe_.Ask("gone \"Choose Mod to Save to:\" 500", 500), "present");
  probe_.Ask("post " + locator + " 16 0 0");
  EXPECT_EQ(probe_.Ask("gone \"Where is Quake 3?\" 5000", 5000), "gone");
  EXPECT_EQ(probe_.Ask("gone \"Choose Mod to Save to:\" 300"), "present");
}

// A name of 40 characters: servers keep 35 bytes of it.
TEST_F(SavingTest, LongNameTurnsTheCounterRedAndIsSavedOnlyAfterTheQuestion) {
  const std::string name = "abcdefghij" "abcdefghij" "abcdefghij" "abcdefghij";
  TypeName(name);
  const auto counter = probe_.Child(window_->handle, kNameCounterId);
  ASSERT_TRUE(counter);
  EXPECT_EQ(probe_.Text(counter->handle), "40/35");
  bool red = false;
  for (const auto& row : probe_.Pixels(counter->left, counter->top, counter->right - counter->left, 21))
    for (auto pixel : row) red = red || pixel == 0xFF0000;
  EXPECT_TRUE(red) << "the counter is not red";

  const char* configs[] = {"baseq3/q3config.cfg", "osp/q3config.cfg", "osp/autoexec.cfg"};
  std::vector<std::string> before;
  for (const char* config : configs) before.push_back(Config(config));
  ChooseSaveMenuItem("a");
  std::string box = probe_.Ask("dialog Pelorin 10000", 10000);
  ASSERT_NE(box, "none");
  EXPECT_NE(box.find("Game servers will show this name as\\x0D\\x0A\\x0D\\x0A" + name.substr(0, 35) + "\\x0D"),
            std::string::npos) << box;
  EXPECT_NE(box.find("Save it as typed?"), std::string::npos) << box;
  input::ClickCentre(*probe_.Child(box.substr(0, box.find(' ')), IDNO));
  EXPECT_EQ(probe_.Ask("dialog Pelorin 700", 700), "none");
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Config(configs[i]), before[i]) << configs[i];
  for (const auto& row : probe_.Pixels(X(52), Y(109), 200, 14))  // inside any marker outline
    for (auto pixel : row) ASSERT_EQ(pixel, kBand) << "the name entered the history";

  ChooseSaveMenuItem("a");
  box = probe_.Ask("dialog Pelorin 10000", 10000);
  ASSERT_NE(box, "none");
  input::ClickCentre(*probe_.Child(box.substr(0, box.find(' ')), IDYES));
  const std::string written = "seta name \"" + name + "\"\r\nexec q3config.cfg\r\n";
  for (int i = 0; i < 50 && Config("osp/autoexec.cfg") != written; ++i) std::this_thread::sleep_for(100ms);
  EXPECT_EQ(Config("osp/autoexec.cfg"), written);
  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), WinePath(game_) + "\\\r\n" + name + "\r\n" + name + "\r\n");
}

// What the engine does to a name before the game module sees it: the question names the result
// and the step, and No writes nothing.
TEST_F(SavingTest, TheQuestionNamesWhatTheEngineDoesToTheName) {
  const std::string before = Config("osp/autoexec.cfg");
  const auto asks = [&](const std::string& shown, const std::string& reason) {
    ChooseSaveMenuItem("a");
    const std::string box = probe_.Ask("dialog Pelorin 10000", 10000);
    ASSERT_NE(box, "none");
    EXPECT_NE(box.find("Game servers will show this name as\\x0D\\x0A\\x0D\\x0A" + shown + "\\x0D"), std::string::npos)
        << box;
    EXPECT_NE(box.find(reason), std::string::npos) << box;
    input::ClickCentre(*probe_.Child(box.substr(0, box.find(' ')), IDNO));
    EXPECT_EQ(probe_.Ask("gone Pelorin 0"), "present");
    EXPECT_EQ(Config("osp/autoexec.cfg"), before);
  };
  TypeName("Neo;1");
  asks("UnnamedPlayer", "Names with ; or \\x5C are not sent: servers show UnnamedPlayer");
  ClickNameBox();
  input::Key("End");
  input::Key("shift+Home");
  input::Type("100%");
  asks("100.", "Servers show % and characters beyond plain ASCII");

  // Code 1 of the letter palette: row 0, column 1 of the sheet at (57, 195).
  input::Click(X(186 + 30), Y(80 + 9));
  input::Click(X(57 + 16 * 1 + 8), Y(195 + 8));
  ASSERT_EQ(NameText(), "100%\\x01");
  asks("100.\\x01", "Servers drop players whose names hold control characters");
}

TEST_F(SavingTest, CleanNameSavesWithoutAQuestion) {
  TypeName("^2Clean");
  EXPECT_EQ(probe_.Text(Control(kNameCounterId)), "7/35");
  ChooseSaveMenuItem("a");
  EXPECT_EQ(probe_.Ask("dialog Pelorin 1500", 1500), "none");
  EXPECT_EQ(Config("osp/autoexec.cfg"), "seta name \"^2Clean\"\r\nexec q3config.cfg\r\n");
}

// Servers drop the black pair and keep all 35 letters: the counter counts what they keep, and
// a name that only loses black is saved without a question.
TEST_F(SavingTest, ColourCodesServersDropDoNotCountAgainstTheLimit) {
  const std::string name = "^0" + std::string(35, 'q');
  TypeName(name);
  const auto counter = probe_.Child(window_->handle, kNameCounterId);
  ASSERT_TRUE(counter);
  EXPECT_EQ(probe_.Text(counter->handle), "35/35");
  for (const auto& row : probe_.Pixels(counter->left, counter->top, counter->right - counter->left, 21))
    for (auto pixel : row) ASSERT_NE(pixel, 0xFF0000u) << "the counter is red";
  ChooseSaveMenuItem("a");
  EXPECT_EQ(probe_.Ask("dialog Pelorin 1500", 1500), "none");
  EXPECT_EQ(Config("osp/autoexec.cfg"), "seta name \"" + name + "\"\r\nexec q3config.cfg\r\n");
}

// History "a" then "^1b": the second row leaves the glyph colour red, so any redraw that no
// save called for would draw "a" red.
TEST_F(SavingTest, CancelledChooserDoesNotRedrawTheHistory) {
  CloseEditor();
  WriteFile(SettingsFile(), WinePath(game_) + "\r\n\r\na\r\n^1b\r\n");
  StartEditor();
  ASSERT_FALSE(RedInHistoryRow(0));
  const std::string dialog = OpenChooser();
  ASSERT_NE(dialog, "");
  input::ClickCentre(*probe_.Child(dialog, 303));
  EXPECT_EQ(probe_.Ask("gone \"Choose Mod to Save to:\" 5000", 5000), "gone");
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(RedInHistoryRow(0));
  EXPECT_TRUE(RedInHistoryRow(1));
}

}  // namespace
}  // namespace pelorin::e2e

namespace pelorin::e2e {
namespace {

// An ioquake3 install (no quake3.exe) whose player has run the game once: the engine's home
// path holds a configuration of its own, which the engine reads first.
class HomePathTest : public SavingTest {
 protected:
  void PrepareSettings() override {
    std::filesystem::remove(game_ / "quake3.exe");
    WriteFile(game_ / "ioquake3.x86_64.exe", "");
    std::filesystem::create_directories(home_ / "baseq3");
    WriteFile(home_ / "baseq3/q3config.cfg", "seta name \"HomeName\"\n");
    SavingTest::PrepareSettings();
  }
  void TearDown() override {
    SavingTest::TearDown();
    std::filesystem::remove_all(home_);
  }
  void StartInGameFolder() {
    CloseEditor();
    std::filesystem::remove(SettingsFile());
    StartEditor({}, game_);
  }

  static constexpr char kNoEngine[] = "no engine";

  // What Debian's dedicated engine prints with `extra` after it executed the mod's
  // q3config.cfg and autoexec.cfg, run on copies of the game folder and the home path (it
  // writes a config of its own there). A stand-in default.cfg in a base game of its own keeps
  // it from asking for the game's paks. The client, like the dedicated engine, registers the
  // name cvar only after the configs ran; a mod without a q3config.cfg of its own runs
  // baseq3's, which the stand-in base game hides, so its cvar is made here as baseq3's does.
  std::string RunEngine(const std::string& mod, const std::vector<std::string>& extra) {
    const std::filesystem::path engine = "/usr/lib/ioquake3/ioq3ded";
    if (!std::filesystem::exists(engine)) return kNoEngine;
    const std::filesystem::path copies = sandbox_.Path() / "engine";
    std::filesystem::remove_all(copies);
    std::filesystem::create_directories(copies / "stub/pelorin");
    WriteFile(copies / "stub/pelorin/default.cfg", "\n");
    std::filesystem::copy(game_, copies / "game", std::filesystem::copy_options::recursive);
    std::filesystem::copy(home_, copies / "home", std::filesystem::copy_options::recursive);
    std::vector<std::string> command = {"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&1", engine.string(),
                                        "+set", "dedicated", "1", "+set", "net_enabled", "0",
                                        "+set", "com_basegame", "pelorin", "+set", "fs_game", mod,
                                        "+set", "fs_steampath", (copies / "stub").string(),
                                        "+set", "fs_basepath", (copies / "game").string(),
                                        "+set", "fs_homepath", (copies / "home").string(),
                                        "+exec", "q3config.cfg", "+exec", "autoexec.cfg"};
    if (!std::filesystem::exists(game_ / mod / "q3config.cfg") && !std::filesystem::exists(home_ / mod / "q3config.cfg"))
      command.insert(command.end() - 4, {"+set", "name", "UnnamedPlayer"});
    command.insert(command.end(), extra.begin(), extra.end());
    command.push_back("+quit");
    return e2e::Run(command).output;
  }

  // The cvar list's lines but the name's and the per-run random port's.
  static std::string CvarsOtherThanName(const std::string& output) {
    std::string kept;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
      if (line.find(" \"") != std::string::npos && line.find(" name \"") == std::string::npos &&
          line.find("net_qport") == std::string::npos)
        kept += line + "\n";
    return kept;
  }

  std::filesystem::path home_ = session_.DriveC() / "users/root/AppData/Roaming/Quake3";
};

TEST_F(HomePathTest, LocatorAcceptsAnIoquake3FolderAndSaveReachesTheEngine) {
  StartInGameFolder();
  EXPECT_EQ(probe_.Ask("gone \"Where is Quake 3?\" 0"), "gone");
  TypeName("^1Neo");
  ChooseSaveMenuItem("a");
  for (int i = 0; i < 50 && ReadFile(home_ / "baseq3/q3config.cfg").find("Neo") == std::string::npos; ++i)
    std::this_thread::sleep_for(100ms);
  EXPECT_EQ(ReadFile(home_ / "baseq3/q3config.cfg"), "seta name \"^1Neo\"\n");
  EXPECT_NE(Config("baseq3/q3config.cfg").find("\nseta name \"^1Neo\"\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(home_ / "osp"));

  const std::string output = RunEngine("baseq3", {"+name"});
  if (output == kNoEngine) GTEST_SKIP() << "ioquake3-server is not installed";
  EXPECT_NE(output.find("\"name\" is:\"^1Neo^7\""), std::string::npos) << output;
}

// The folders as the engines leave them: the original game's baseq3 config (LF line ends, binds
// first), the ioquake3 home path's, a Quake3e config that has no name line beside an
// autoexec.cfg whose bare `name` runs before the cvar exists, a mod whose autoexec.cfg sets
// the name with the bare command. Each mod's q3config.cfg and autoexec.cfg,
// executed by the real engine as at start, then give the saved name and every other cvar as
// before. A locked config is named at the end, after all others were saved.
TEST_F(HomePathTest, EveryModStartsWithTheSavedNameAndNothingElseChanges) {
  WriteFile(game_ / "baseq3/autoexec.cfg", "bind F5 \"seta name ^1Clan\"\nseta name2 \"alt\"\n");
  std::filesystem::create_directories(game_ / "q3e");
  WriteFile(game_ / "q3e/q3config.cfg", "// generated by quake3e, do not modify\nunbindall\nbind TAB \"+scores\"\n"
                                        "seta cl_renderer \"opengl\"\nseta com_hunkMegs \"128\"\n");
  WriteFile(game_ / "q3e/autoexec.cfg", "name \"^5Bare\"\n");
  WriteFile(game_ / "cpma/autoexec.cfg", "name \"^3Old\"; seta cg_fov \"110\" // mine\r\nseta cg_drawFPS 1");
  const std::vector<std::string> mods = {"baseq3", "osp", "q3e", "cpma"};
  std::vector<std::string> before;
  for (const std::string& mod : mods) before.push_back(CvarsOtherThanName(RunEngine(mod, {"+cvarlist"})));
  if (before[0] == kNoEngine) GTEST_SKIP() << "ioquake3-server is not installed";

  ASSERT_EQ(probe_.Ask("lock " + WinePath(game_ / "osp/autoexec.cfg")), "locked");
  const std::string ospConfig = Config("osp/q3config.cfg");
  TypeName("^1Neo");
  ChooseSaveMenuItem("a");
  const std::string box = probe_.Ask("dialog Pelorin 10000", 10000);
  ASSERT_NE(box, "none");
  EXPECT_NE(box.find("osp\\x5Cautoexec.cfg"), std::string::npos) << box;
  EXPECT_EQ(box.find("q3config.cfg"), std::string::npos) << box;
  probe_.Ask("press " + box.substr(0, box.find(' ')) + " OK");
  EXPECT_NE(Config("osp/q3config.cfg"), ospConfig) << "the mod's other config is saved";
  EXPECT_EQ(ReadFile(home_ / "baseq3/q3config.cfg"), "seta name \"^1Neo\"\n");
  EXPECT_EQ(Config("baseq3/autoexec.cfg"), "bind F5 \"seta name ^1Clan\"\nseta name2 \"alt\"\n");
  EXPECT_EQ(Config("cpma/autoexec.cfg"), "name \"^1Neo\"; seta cg_fov \"110\" // mine\r\nseta cg_drawFPS 1");
  EXPECT_FALSE(std::filesystem::exists(game_ / "cpma/q3config.cfg"));
  EXPECT_EQ(Config("q3e/autoexec.cfg"), "name \"^1Neo\"\n");
  EXPECT_NE(Config("q3e/q3config.cfg").find("\"128\"\nseta name \"^1Neo\"\n"), std::string::npos);

  session_.EndAll();  // the lock goes with the probe
  for (std::size_t i = 0; i < mods.size(); ++i) {
    if (mods[i] == "osp") continue;  // its autoexec.cfg was locked and still names the old name
    const std::string cvars = RunEngine(mods[i], {"+cvarlist"});
    EXPECT_NE(cvars.find(" name \"^1Neo\""), std::string::npos) << mods[i] << "\n" << cvars;
    EXPECT_EQ(CvarsOtherThanName(cvars), before[i]) << mods[i];
  }
}

TEST_F(HomePathTest, ARunningGameMakesTheSaveAskAndNoLeavesEveryFile) {
  Sandbox running;
  const auto standIn = running.Copy(session_.ProbePath(), "quake3.exe");
  ProcessOptions options = session_.Options(running.Path());
  options.pipeInput = true;
  Process game({session_.Loader(), standIn.string()}, options);
  std::this_thread::sleep_for(1500ms);
  const std::string homeBefore = ReadFile(home_ / "baseq3/q3config.cfg");
  const std::string gameBefore = Config("baseq3/q3config.cfg");
  const std::string ospBefore = Config("osp/autoexec.cfg");
  TypeName("x");
  ChooseSaveMenuItem("a");
  const std::string box = probe_.Ask("dialog Pelorin 10000", 10000);
  ASSERT_NE(box, "none");
  EXPECT_NE(box.find("Quake 3 is running. It writes its configuration again when it quits, which undoes this "
                     "save. Close the game first, or save anyway?"), std::string::npos) << box;
  input::ClickCentre(*probe_.Child(box.substr(0, box.find(' ')), IDNO));
  EXPECT_EQ(probe_.Ask("dialog Pelorin 700", 700), "none");
  EXPECT_EQ(ReadFile(home_ / "baseq3/q3config.cfg"), homeBefore);
  EXPECT_EQ(Config("baseq3/q3config.cfg"), gameBefore);
  EXPECT_EQ(Config("osp/autoexec.cfg"), ospBefore);
}

}  // namespace
}  // namespace pelorin::e2e
