#include <gtest/gtest.h>

#include <sstream>

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

}  // namespace
}  // namespace pelorin::e2e
