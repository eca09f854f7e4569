#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <thread>

#include "EditorFixture.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

TEST_F(EditorTest, OpensBorderlessCollapsedAndCentred) {
  EXPECT_EQ(window_->Width(), 363);
  EXPECT_EQ(window_->Height(), 183);
  // No frame: the client area starts at the window's corner.
  EXPECT_EQ(probe_.Ask("client " + window_->handle),
            std::to_string(window_->left) + " " + std::to_string(window_->top) + " 363 183");
  EXPECT_EQ(probe_.Ask("focus " + window_->handle), Control(kNameBoxId));
  // A screen reader names the name box after the static control just before it in Z order.
  const auto children = probe_.Children(window_->handle);
  const auto box = std::find_if(children.begin(), children.end(), [](const auto& c) { return c.id == kNameBoxId; });
  ASSERT_TRUE(box != children.end() && box != children.begin());
  EXPECT_EQ(box[-1].className, "Static");
  EXPECT_EQ(box[-1].text, "Player name");
  EXPECT_FALSE(box[-1].visible);
}

TEST_F(EditorTest, TypedNameIsDrawnInItsColoursInThePreview) {
  ClickNameBox();
  input::Type("^3Hi");
  EXPECT_EQ(NameText(), "^3Hi");

  const auto band = probe_.Pixels(X(50), Y(54), 268, 16);
  ASSERT_EQ(band.size(), 16u);
  int yellow = 0;
  for (const auto& row : band) {
    for (int x = 0; x < 268; ++x) {
      if (x < 32) {
        yellow += row[x] == kYellow;
        EXPECT_TRUE(row[x] == kYellow || row[x] == kBand) << "x=" << x;
      } else {
        ASSERT_EQ(row[x], kBand) << "something drawn past the second column at x=" << x;
      }
    }
  }
  EXPECT_GT(yellow, 20) << "H and i should show yellow glyph pixels";
}

TEST_F(EditorTest, ColourBoxInsertsItsCodeAtTheCaret) {
  ClickNameBox();
  input::Type("abc");
  input::Key("Home");
  input::Click(X(50 + 16 * 1 + 8), Y(88));
  EXPECT_EQ(NameText(), "^1abc");
  EXPECT_EQ(probe_.Ask("sel " + Control(kNameBoxId)), "2 2");
  EXPECT_EQ(probe_.Ask("focus " + window_->handle), Control(kNameBoxId));

  input::Key("End");
  input::Click(X(50 + 16 * 7 + 8), Y(88));
  EXPECT_EQ(NameText(), "^1abc^7");
  // The name now starts red: the preview's first column holds red glyph pixels.
  bool red = false;
  for (const auto& row : probe_.Pixels(X(50), Y(54), 16, 16))
    for (auto pixel : row) red = red || pixel == 0xFF0000;
  EXPECT_TRUE(red);

  // Ctrl+A selects the whole name, which a plain edit box does not do by itself.
  input::Key("ctrl+a");
  EXPECT_EQ(probe_.Ask("sel " + Control(kNameBoxId)), "0 7");
}

TEST_F(EditorTest, KeypadExpandsAndCollapsesTheWindow) {
  input::Click(X(186 + 30), Y(80 + 9));
  EXPECT_EQ(probe_.Rect(window_->handle)->Height(), 381);
  input::Click(X(186 + 30), Y(80 + 9));
  const auto collapsed = probe_.Rect(window_->handle);
  EXPECT_EQ(collapsed->Height(), 183);
  EXPECT_EQ(collapsed->Width(), 363);
  EXPECT_EQ(collapsed->left, window_->left);
  EXPECT_EQ(collapsed->top, window_->top);
}

TEST_F(EditorTest, LetterPaletteInsertsTheCellUnderTheMarker) {
  input::Click(X(186 + 30), Y(80 + 9));
  ClickNameBox();
  input::Type("xy");
  input::Key("Left");
  // 'A' is code 65: row 4, column 1 of the sheet at (57, 195).
  input::Click(X(57 + 16 * 1 + 8), Y(195 + 16 * 4 + 8));
  EXPECT_EQ(NameText(), "xAy");
  // Cell 0 inserts nothing.
  input::Click(X(57 + 4), Y(195 + 4));
  EXPECT_EQ(NameText(), "xAy");
  EXPECT_EQ(probe_.Ask("sel " + Control(kNameBoxId)), "2 2");
}

TEST_F(EditorTest, HistoryRowWithoutANameEmptiesTheNameBox) {
  ClickNameBox();
  input::Type("abc");
  input::MoveTo(X(60), Y(108 + 55));
  input::Click(X(60), Y(108 + 55));
  EXPECT_EQ(NameText(), "");
}

// Wine keeps menu handles per process, so the probe sees where a pop-up menu opens but not
// its items; the items are exercised through their accelerator keys where they act.
std::string MenuCorner(Probe& probe) {
  const std::string menu = probe.Ask("menu 3000");
  std::istringstream words(menu);
  int left = 0, top = 0;
  words >> left >> top;
  return std::to_string(left) + " " + std::to_string(top);
}

TEST_F(EditorTest, RightClickOnHistoryOpensTheDeleteMenuAtThePointer) {
  input::Click(X(60), Y(108 + 20), 3);
  EXPECT_EQ(MenuCorner(probe_), std::to_string(X(60)) + " " + std::to_string(Y(128)));
  input::Key("Escape");
}

TEST_F(EditorTest, SaveOpensItsMenuAtTheButtonCorner) {
  input::Click(X(256 + 30), Y(80 + 9));
  EXPECT_EQ(MenuCorner(probe_), std::to_string(X(256)) + " " + std::to_string(Y(80)));
  input::Key("Escape");
}

TEST_F(EditorTest, CloseMarkClosesTheWindow) {
  input::Click(X(360), Y(10));
  EXPECT_TRUE(probe_.WaitGone("Pelorin"));
  EXPECT_EQ(editor_->Wait(10s), 0);
}

TEST_F(EditorTest, AltF4ClosesTheWindow) {
  ClickNameBox();
  input::Key("alt+F4");
  EXPECT_TRUE(probe_.WaitGone("Pelorin"));
  EXPECT_EQ(editor_->Wait(10s), 0);
}

TEST_F(EditorTest, PressBelowTheTitleStripDoesNothing) {
  input::Click(X(100), Y(25));
  const auto after = probe_.Rect(window_->handle);
  EXPECT_EQ(after->left, window_->left);
  EXPECT_EQ(after->top, window_->top);
  EXPECT_FALSE(probe_.WaitGone("Pelorin", 300));
}

TEST_F(EditorTest, DraggingTheTitleStripMovesTheWindow) {
  input::Press(X(100), Y(5));
  input::MoveTo(X(120), Y(25));
  input::MoveTo(X(150), Y(45));
  input::Release();
  const auto moved = probe_.Rect(window_->handle);
  EXPECT_EQ(moved->left, window_->left + 50);
  EXPECT_EQ(moved->top, window_->top + 40);
  EXPECT_EQ(moved->Width(), 363);
}

// Every action by keyboard alone: no pointer event reaches the window in this test.
class KeyboardTest : public EditorTest {
 protected:
  void PrepareSettings() override { WriteFile(SettingsFile(), WinePath(game_) + "\r\n\r\nOld1\r\nOld2\r\nOld3\r\n"); }

  std::string Focus() { return probe_.Ask("focus " + window_->handle); }
};

TEST_F(KeyboardTest, TypeColourLetterSaveAndTakeAnEarlierName) {
  input::FocusWindow("Pelorin");
  ASSERT_EQ(Focus(), Control(kNameBoxId));
  input::Type("Kb");
  input::Key("Home");
  // Tab to the colour row (black first), two steps right to green, Space puts "^2" at the caret.
  input::Key("Tab");
  EXPECT_EQ(Focus(), Control(kColourBoxId));
  EXPECT_EQ(probe_.Text(Control(kColourBoxId)), "Black ^0");
  input::Key("Right");
  input::Key("Right");
  EXPECT_EQ(Focus(), Control(kColourBoxId + 2));
  input::Key("space");
  EXPECT_EQ(NameText(), "^2Kb");

  // Keypad opens the letter sheet; Tab passes Save and the history to it; 'A' is row 4, column 1.
  input::Key("Tab");
  EXPECT_EQ(Focus(), Control(kKeypadId));
  input::Key("space");
  EXPECT_EQ(probe_.Rect(window_->handle)->Height(), 381);
  for (int i = 0; i < 3; ++i) input::Key("Tab");
  EXPECT_EQ(Focus(), Control(kLettersId));
  for (int i = 0; i < 4; ++i) input::Key("Down");
  input::Key("Right");
  EXPECT_EQ(probe_.Text(Control(kLettersId)), "Letter A");
  input::Key("Return");
  EXPECT_EQ(NameText(), "^2AKb");

  // Back to Save; Space opens its menu, whose "a" saves to every mod.
  input::Key("shift+Tab");
  input::Key("shift+Tab");
  EXPECT_EQ(Focus(), Control(kSaveButtonId));
  input::Key("space");
  ASSERT_NE(probe_.Ask("menu 3000"), "none");
  input::Key("a");
  std::this_thread::sleep_for(500ms);
  EXPECT_NE(ReadFile(game_ / "baseq3/q3config.cfg").find("\nseta name \"^2AKb\"\n"), std::string::npos);
  EXPECT_EQ(ReadFile(game_ / "osp/q3config.cfg").find("seta name \"^2AKb\"\r\n"), 0u);
  EXPECT_EQ(ReadFile(game_ / "osp/autoexec.cfg").find("seta name \"^2AKb\"\r\n"), 0u);

  // The history now reads ^2AKb, Old1, Old2, Old3 with the marker on row 1: Down, Enter takes Old2.
  input::Key("Tab");
  EXPECT_EQ(Focus(), Control(kHistoryId));
  input::Key("Down");
  EXPECT_EQ(probe_.Text(Control(kHistoryId)), "Earlier name 3: Old2");
  input::Key("Return");
  EXPECT_EQ(NameText(), "Old2");
  EXPECT_EQ(Focus(), Control(kNameBoxId));

  // Delete removes the focused row as the right-click menu does.
  input::Key("shift+Tab");
  input::Key("shift+Tab");
  EXPECT_EQ(Focus(), Control(kHistoryId));
  input::Key("Delete");
  CloseEditor();
  EXPECT_EQ(ReadFile(SettingsFile()), WinePath(game_) + "\\\r\n^2AKb\r\n^2AKb\r\nOld1\r\nOld3\r\n");
}

class EditorAt192Dpi : public EditorTest {
 protected:
  void SetUp() override {
    dpi_.emplace(session_, 192);
    EditorTest::SetUp();
  }
  void TearDown() override {
    EditorTest::TearDown();
    dpi_.reset();
  }

  std::optional<DisplayDpi> dpi_;
};

// Lengths of the runs of one colour along each row of `block`, and along each column.
std::vector<int> RunLengths(const std::vector<std::vector<std::uint32_t>>& block) {
  std::vector<int> runs;
  const auto walk = [&runs](auto at, int count) {
    int length = 1;
    for (int i = 1; i <= count; ++i) {
      if (i < count && at(i) == at(i - 1)) {
        ++length;
      } else {
        runs.push_back(length);
        length = 1;
      }
    }
  };
  const int height = static_cast<int>(block.size()), width = static_cast<int>(block[0].size());
  for (int y = 0; y < height; ++y) walk([&](int x) { return block[y][x]; }, width);
  for (int x = 0; x < width; ++x) walk([&](int y) { return block[y][x]; }, height);
  return runs;
}

TEST_F(EditorAt192Dpi, WindowIsTwiceItsSizeAndThePreviewDrawsWhole2x2Blocks) {
  EXPECT_EQ(window_->Width(), 2 * 363);
  EXPECT_EQ(window_->Height(), 2 * 183);
  input::FocusWindow("Pelorin");
  input::Type("^3Hi^1W");
  ASSERT_EQ(NameText(), "^3Hi^1W");
  const auto preview = probe_.Pixels(X(2 * 50), Y(2 * 54), 2 * 268, 2 * 17);
  ASSERT_EQ(preview.size(), 34u);
  int yellow = 0, red = 0;
  for (const auto& row : preview)
    for (auto pixel : row) yellow += pixel == kYellow, red += pixel == 0xFF0000;
  EXPECT_GT(yellow, 80);
  EXPECT_GT(red, 40);
  for (int length : RunLengths(preview)) ASSERT_EQ(length % 2, 0) << "a run of one colour " << length << " long";
  // The Save button keeps its place, twice as far in: Space on it opens the menu at its corner.
  const auto save = probe_.Child(window_->handle, kSaveButtonId);
  ASSERT_TRUE(save);
  EXPECT_EQ(save->left - window_->left, 2 * 256);
  EXPECT_EQ(save->right - save->left, 2 * 65);
  EXPECT_EQ(probe_.Text(save->handle), "Save");
}

}  // namespace
}  // namespace pelorin::e2e
