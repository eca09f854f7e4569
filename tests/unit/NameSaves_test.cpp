#include "NameSaves.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "support/FaultyFileSystem.h"
#include "support/RecordingProcesses.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Records what a save shows; the locator answers with the folders it is given, in turn.
class ScriptedUi : public SaveUi {
 public:
  std::vector<String> locatorAnswers;  // "" = the user closed the locator
  int locatorShown = 0;
  std::vector<String> errors;
  std::vector<String> notes;
  std::vector<String> questions;
  bool answerYes = false;

  bool LocateGameFolder(String& gameFolder) override {
    const String answer = locatorShown < static_cast<int>(locatorAnswers.size())
                                   ? locatorAnswers[locatorShown] : "";
    ++locatorShown;
    if (answer.empty()) return false;
    gameFolder = answer;
    return true;
  }
  void ShowError(const String& text) override { errors.push_back(text); }
  void ShowInformation(const String& text) override { notes.push_back(text); }
  bool AskYesNo(const String& text) override {
    questions.push_back(text);
    return answerYes;
  }
};

class NameSavesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_.Write("Quake3\\quake3.exe", "");
    game_.Write("Quake3\\baseq3\\q3config.cfg", "seta name \"Old\"\r\n");
    game_.Write("Quake3\\osp\\q3config.cfg", "seta name \"Old\"\r\n");
    game_.Write("Quake3\\osp\\autoexec.cfg", "seta name \"Old\"\r\n");
    game_.MakeFolder("Quake3\\cpma");
    state_.gameFolder = game_.Path("Quake3");
  }

  testing::TempFolder game_;
  testing::FaultyFileSystem files_;
  testing::RecordingProcesses processes_;
  ScriptedUi ui_;
  EditorState state_;
};

TEST_F(NameSavesTest, SaveToAllModsWritesEveryModAndRecordsTheName) {
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "^1Neo"), SaveOutcome::kSaved);
  for (const char* file : {"baseq3\\q3config.cfg", "osp\\q3config.cfg", "osp\\autoexec.cfg"})
    EXPECT_EQ(game_.Read(String("Quake3\\") + file), "seta name \"^1Neo\"\r\n") << file;
  EXPECT_EQ(state_.lastSavedName, "^1Neo");
  EXPECT_EQ(state_.history.Entry(0), "^1Neo");
  EXPECT_EQ(state_.gameFolder, game_.Path("Quake3") + "\\");
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_EQ(ui_.locatorShown, 0);
}

TEST_F(NameSavesTest, SaveToChosenModsWritesOnlyThose) {
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, "x", {"osp"}), SaveOutcome::kSaved);
  EXPECT_EQ(game_.Read("Quake3\\osp\\autoexec.cfg"), "seta name \"x\"\r\n");
  EXPECT_EQ(game_.Read("Quake3\\baseq3\\q3config.cfg"), "seta name \"Old\"\r\n");
}

// The home path holds baseq3 as the game folder does, a mod of its own and no osp or cpma.
TEST_F(NameSavesTest, TheHomePathsModsAreSavedTooAndNothingIsMadeThere) {
  game_.Write("Home\\baseq3\\q3config.cfg", "seta name \"Old\"\n");
  game_.Write("Home\\mine\\q3config.cfg", "seta name \"Old\"\n");
  game_.Write("Home\\mine\\notes.txt", "seta name \"Old\"\n");
  state_.homePath = game_.Path("Home");
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "a"), SaveOutcome::kSaved);
  for (const char* file : {"Quake3\\baseq3\\q3config.cfg", "Quake3\\osp\\q3config.cfg"})
    EXPECT_EQ(game_.Read(file), "seta name \"a\"\r\n") << file;
  for (const char* file : {"Home\\baseq3\\q3config.cfg", "Home\\mine\\q3config.cfg"})
    EXPECT_EQ(game_.Read(file), "seta name \"a\"\n") << file;
  EXPECT_EQ(game_.Read("Home\\mine\\notes.txt"), "seta name \"Old\"\n");

  // Chosen: baseq3 in both places, mine only at home, osp only in the game folder.
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, "b", {"baseq3", "mine", "osp"}), SaveOutcome::kSaved);
  EXPECT_EQ(game_.Read("Quake3\\baseq3\\q3config.cfg"), "seta name \"b\"\r\n");
  EXPECT_EQ(game_.Read("Home\\baseq3\\q3config.cfg"), "seta name \"b\"\n");
  EXPECT_EQ(game_.Read("Home\\mine\\q3config.cfg"), "seta name \"b\"\n");
  EXPECT_EQ(game_.Read("Quake3\\osp\\q3config.cfg"), "seta name \"b\"\r\n");
  for (const char* made : {"Home\\osp", "Home\\cpma", "Quake3\\mine"}) EXPECT_FALSE(game_.Exists(made)) << made;
  EXPECT_TRUE(ui_.errors.empty());

  // A home path that is not there is passed over.
  state_.homePath = game_.Path("NoHome");
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "c"), SaveOutcome::kSaved);
  EXPECT_FALSE(game_.Exists("NoHome"));
}

TEST_F(NameSavesTest, WhileTheGameRunsNoWritesAndRecordsNothing) {
  processes_.running = {"explorer.exe", "IOQUAKE3.x86_64.EXE"};
  game_.Write("Home\\baseq3\\q3config.cfg", "seta name \"Old\"\n");
  state_.homePath = game_.Path("Home");
  state_.lastSavedName = "before";
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "n"), SaveOutcome::kGameRunning);
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, "n", {"baseq3"}), SaveOutcome::kGameRunning);
  EXPECT_EQ(ui_.questions, std::vector<String>(2, kGameRunningQuestion));
  EXPECT_EQ(state_.lastSavedName, "before");
  EXPECT_TRUE(state_.history.Empty());
  EXPECT_EQ(state_.gameFolder, game_.Path("Quake3"));
  EXPECT_EQ(game_.Read("Quake3\\baseq3\\q3config.cfg"), "seta name \"Old\"\r\n");
  EXPECT_EQ(game_.Read("Home\\baseq3\\q3config.cfg"), "seta name \"Old\"\n");

  ui_.answerYes = true;
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "n"), SaveOutcome::kSaved);
  EXPECT_EQ(game_.Read("Home\\baseq3\\q3config.cfg"), "seta name \"n\"\n");
}

TEST_F(NameSavesTest, NothingCheckedChangesNothing) {
  state_.lastSavedName = "before";
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, "x", {}), SaveOutcome::kNothingChosen);
  EXPECT_EQ(ui_.notes, std::vector<String>{kNothingCheckedMessage});
  EXPECT_EQ(state_.lastSavedName, "before");
  EXPECT_TRUE(state_.history.Empty());
  EXPECT_EQ(game_.Read("Quake3\\osp\\q3config.cfg"), "seta name \"Old\"\r\n");
}

TEST_F(NameSavesTest, NamesThatWouldBreakTheLineAreRefused) {
  for (const char* name : {"a\rb", "a\nb", "say \"x"}) {
    ScriptedUi ui;
    EXPECT_EQ(SaveToAllMods(files_, processes_, ui, state_, name), SaveOutcome::kNameRefused);
    EXPECT_EQ(SaveToChosenMods(files_, processes_, ui, state_, name, {"osp"}), SaveOutcome::kNameRefused);
    EXPECT_EQ(ui.errors.size(), 2u);
  }
  EXPECT_TRUE(state_.history.Empty());
  EXPECT_EQ(game_.Read("Quake3\\baseq3\\q3config.cfg"), "seta name \"Old\"\r\n");
}

TEST_F(NameSavesTest, MissingGameFolderOffersTheLocatorAndRetries) {
  state_.gameFolder = game_.Path("Moved");
  ui_.locatorAnswers = {game_.Path("Quake3")};
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "n"), SaveOutcome::kSaved);
  EXPECT_EQ(ui_.locatorShown, 1);
  EXPECT_EQ(game_.Read("Quake3\\baseq3\\q3config.cfg"), "seta name \"n\"\r\n");

  // The chooser joins folder and mod name, so the located folder gets its backslash too.
  state_.gameFolder = game_.Path("Moved");
  ui_.locatorAnswers = {game_.Path("Quake3")};
  ui_.locatorShown = 0;
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, "m", {"osp"}), SaveOutcome::kSaved);
  EXPECT_EQ(game_.Read("Quake3\\osp\\q3config.cfg"), "seta name \"m\"\r\n");
}

TEST_F(NameSavesTest, ClosingTheLocatorEndsTheSaveWithoutWriting) {
  state_.gameFolder = game_.Path("Moved");
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "n"), SaveOutcome::kNoGameFolder);
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, "n", {"osp"}), SaveOutcome::kNoGameFolder);
  EXPECT_EQ(ui_.locatorShown, 2);
  EXPECT_EQ(game_.Read("Quake3\\baseq3\\q3config.cfg"), "seta name \"Old\"\r\n");
}

TEST_F(NameSavesTest, ANameServersWouldChangeIsSavedOnlyWhenTheUserSaysSo) {
  const String name = "^0" + String(40, 'x');
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, name), SaveOutcome::kDeclined);
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, name, {"osp"}), SaveOutcome::kDeclined);
  ASSERT_EQ(ui_.questions.size(), 2u);
  EXPECT_EQ(ui_.questions[0], "Game servers will show this name as\r\n\r\n" + String(35, 'x') +
                                  "\r\n\r\n" + ServerNameReasons(ServerNameOf(name)) + "\r\nSave it as typed?");
  EXPECT_TRUE(state_.lastSavedName.empty());
  EXPECT_TRUE(state_.history.Empty());
  EXPECT_EQ(state_.gameFolder, game_.Path("Quake3"));
  EXPECT_EQ(game_.Read("Quake3\\osp\\q3config.cfg"), "seta name \"Old\"\r\n");

  ui_.answerYes = true;
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, name), SaveOutcome::kSaved);
  EXPECT_EQ(game_.Read("Quake3\\osp\\q3config.cfg"), "seta name \"" + name + "\"\r\n");
  EXPECT_EQ(state_.lastSavedName, name);
  // Nothing checked: the note comes first and no question follows.
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, name, {}), SaveOutcome::kNothingChosen);
  EXPECT_EQ(ui_.questions.size(), 3u);
}

TEST_F(NameSavesTest, AFolderThatCannotBeListedIsReportedAfterOneLocatorOffer) {
  files_.listingNotFound = true;
  ui_.locatorAnswers = {game_.Path("Quake3")};  // the same folder again
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "n"), SaveOutcome::kFailed);
  EXPECT_EQ(ui_.locatorShown, 1);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_EQ(ui_.errors[0].rfind("Unhandled error!\r\n76 - Path not found", 0), 0u) << ui_.errors[0];
  EXPECT_EQ(files_.listings, 2);
}

// A file that cannot be saved stops nothing: every other file, in every mod and in the home
// path, is saved, and one message at the end names each file left with the system's reason.
TEST_F(NameSavesTest, OtherFailuresAreReportedByBothSavesAfterAllElseIsSaved) {
  game_.Write("Home\\baseq3\\q3config.cfg", "seta name \"Old\"\n");
  game_.Write("Home\\osp\\autoexec.cfg", "seta name \"Old\"\n");
  state_.homePath = game_.Path("Home");
  files_.readOnlyFiles.insert(game_.Path("Quake3\\osp\\q3config.cfg"));
  files_.inUseFiles.insert(game_.Path("Home\\baseq3\\q3config.cfg"));
  EXPECT_EQ(SaveToAllMods(files_, processes_, ui_, state_, "n"), SaveOutcome::kFailed);
  for (const char* file : {"Quake3\\baseq3\\q3config.cfg", "Quake3\\osp\\autoexec.cfg", "Home\\osp\\autoexec.cfg"})
    EXPECT_NE(game_.Read(file).find("seta name \"n\""), String::npos) << file;
  EXPECT_EQ(SaveToChosenMods(files_, processes_, ui_, state_, "m", {"osp"}), SaveOutcome::kFailed);
  EXPECT_EQ(game_.Read("Home\\osp\\autoexec.cfg"), "seta name \"m\"\n");
  ASSERT_EQ(ui_.errors.size(), 2u);
  EXPECT_EQ(ui_.errors[0], "Unhandled error!\r\n70 - Permission denied: " + game_.Path("Quake3\\osp\\q3config.cfg") +
                               " (Permission denied, system error 13)\r\n70 - Permission denied: " +
                               game_.Path("Home\\baseq3\\q3config.cfg") +
                               " (The file is used by another process, system error 32)");
  EXPECT_EQ(ui_.errors[1].rfind("Unhandled error!\r\n70 - Permission denied: " + game_.Path("Quake3\\osp\\q3config.cfg"), 0), 0u);
  EXPECT_EQ(game_.Read("Quake3\\osp\\q3config.cfg"), "seta name \"Old\"\r\n");
  EXPECT_EQ(game_.Read("Home\\baseq3\\q3config.cfg"), "seta name \"Old\"\n");
  EXPECT_FALSE(game_.Exists("Quake3\\osp\\q3config.cfg.tmp"));
}

}  // namespace
}  // namespace pelorin
