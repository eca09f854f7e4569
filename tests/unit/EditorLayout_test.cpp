#include "EditorLayout.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <array>

namespace pelorin {
namespace {

TEST(EditorLayout, RoundHalfEvenTakesHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(4.75), 5);
  EXPECT_EQ(RoundHalfEven(-0.875), -1);
  EXPECT_EQ(RoundHalfEven(0.0625), 0);
}

// Pointer row in the history area -> marker top -> row a release picks.
TEST(EditorLayout, HistoryMarkerAndRowFollowTheRowTable) {
  struct Case {
    int firstY, lastY, markerTop, row;
  } cases[] = {
      {-17, -1, -14, -1}, {0, 16, 1, 0},   {17, 33, 16, 1},   {34, 50, 32, 2},
      {51, 67, 48, 3},    {68, 84, 64, 4}, {85, 101, 76, 5},
  };
  for (const auto& c : cases) {
    for (int y = c.firstY; y <= c.lastY; ++y) {
      EXPECT_EQ(HistoryMarkerTop(y), c.markerTop) << "y=" << y;
      EXPECT_EQ(HistoryRowOfMarker(HistoryMarkerTop(y)), c.row) << "y=" << y;
    }
  }
}

TEST(EditorLayout, LetterMarkerSnapsToTheCellUnderThePointer) {
  // Cell of 'A' (65): row 4, column 1; pointer anywhere inside it.
  for (int px : {16, 24, 31}) {
    for (int py : {64, 79}) {
      const Point marker = LetterMarkerOfPointer(px * 15, py * 15);
      EXPECT_EQ(marker.x, 240);
      EXPECT_EQ(marker.y, 960);
      EXPECT_EQ(LetterCodeOfMarker(marker.x, marker.y), 'A');
    }
  }
  EXPECT_EQ(LetterCodeOfMarker(0, 0), 0);
  EXPECT_EQ(LetterCodeOfMarker(15 * 240, 7 * 240), 127);
  // A pointer left of the area while captured gives a marker one cell outside.
  EXPECT_EQ(LetterMarkerOfPointer(-1, 0).x, -240);
}

TEST(EditorLayout, SkinPressesCloseMoveOrDoNothing) {
  EXPECT_EQ(HitTestSkin(360, 10), SkinHit::kClose);
  EXPECT_EQ(HitTestSkin(354, 18), SkinHit::kClose);
  EXPECT_EQ(HitTestSkin(360, 19), SkinHit::kMove);
  EXPECT_EQ(HitTestSkin(100, 5), SkinHit::kMove);
  EXPECT_EQ(HitTestSkin(353, 0), SkinHit::kMove);
  EXPECT_EQ(HitTestSkin(100, 20), SkinHit::kMove);
  EXPECT_EQ(HitTestSkin(100, 25), SkinHit::kNone);
  EXPECT_EQ(HitTestSkin(360, 21), SkinHit::kNone);
}

TEST(EditorLayout, OnlyAltAloneWithF4IsTheCloseKey) {
  EXPECT_TRUE(IsCloseKey(115, kAltMask));
  EXPECT_FALSE(IsCloseKey(115, kAltMask | kShiftMask));
  EXPECT_FALSE(IsCloseKey(115, kAltMask | kCtrlMask));
  EXPECT_FALSE(IsCloseKey(115, 0));
  EXPECT_FALSE(IsCloseKey(114, kAltMask));
}

TEST(EditorLayout, RectanglesAtOneAndTwoTimesFromOneTable) {
  struct Case {
    Rect at100, at200;
  } cases[] = {
      {layout::kNameBox, {100, 64, 538, 30}},      {layout::kPreview, {100, 108, 536, 34}},
      {layout::ColourBox(7), {324, 160, 34, 34}},  {layout::kKeypadButton, {372, 160, 130, 38}},
      {layout::kSaveButton, {512, 160, 130, 38}},  {layout::kHistory, {100, 216, 536, 128}},
      {layout::kLetters, {114, 390, 512, 256}},    {layout::kNameCounter, {540, 0, 156, 42}},
  };
  for (const auto& c : cases) {
    const Rect one = Scaled(c.at100, 1), two = Scaled(c.at100, 2);
    EXPECT_EQ((std::array{one.left, one.top, one.width, one.height}),
              (std::array{c.at100.left, c.at100.top, c.at100.width, c.at100.height}));
    EXPECT_EQ((std::array{two.left, two.top, two.width, two.height}),
              (std::array{c.at200.left, c.at200.top, c.at200.width, c.at200.height}));
  }
}

TEST(EditorLayout, KeypadTogglesBetweenTheTwoHeights) {
  EXPECT_EQ(ToggledHeightTwips(2745), 5715);
  EXPECT_EQ(ToggledHeightTwips(5715), 2745);
  EXPECT_EQ(ToggledHeightTwips(3000), 2745);  // any other height collapses
  EXPECT_EQ(ToggledHeightTwips(ToggledHeightTwips(2745)), 2745);
}

}  // namespace
}  // namespace pelorin

namespace pelorin {
namespace {

TEST(EditorLayout, LinkAreasCoverTheirRectanglesOnly) {
  EXPECT_EQ(LinkAreaAt(325, 198), 0);
  EXPECT_EQ(LinkAreaAt(357, 361), 0);
  EXPECT_EQ(LinkAreaAt(358, 300), -1);
  EXPECT_EQ(LinkAreaAt(126, 351), 1);
  EXPECT_EQ(LinkAreaAt(245, 367), 1);
  EXPECT_EQ(LinkAreaAt(125, 360), -1);
  EXPECT_EQ(LinkAreaAt(100, 5), -1);
}

}  // namespace
}  // namespace pelorin
