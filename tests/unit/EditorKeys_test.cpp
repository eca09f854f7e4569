#include "EditorKeys.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

TEST(EditorKeys, TabVisitsTheAvailableStopsInOrderBothWays) {
  const unsigned all = (1u << kFocusStops) - 1;
  const unsigned collapsed = all & ~StopBit(FocusStop::kLetters);
  const unsigned noSave = collapsed & ~StopBit(FocusStop::kSave);
  struct Case {
    FocusStop from;
    unsigned available;
    FocusStop forward, backward;
  } cases[] = {
      {FocusStop::kNameBox, all, FocusStop::kColours, FocusStop::kLetters},
      {FocusStop::kColours, all, FocusStop::kKeypad, FocusStop::kNameBox},
      {FocusStop::kSave, all, FocusStop::kHistory, FocusStop::kKeypad},
      {FocusStop::kHistory, all, FocusStop::kLetters, FocusStop::kSave},
      {FocusStop::kLetters, all, FocusStop::kNameBox, FocusStop::kHistory},
      {FocusStop::kHistory, collapsed, FocusStop::kNameBox, FocusStop::kSave},
      {FocusStop::kNameBox, collapsed, FocusStop::kColours, FocusStop::kHistory},
      {FocusStop::kKeypad, noSave, FocusStop::kHistory, FocusStop::kColours},
      // Focus left on the letters while the window collapsed moves on as usual.
      {FocusStop::kLetters, collapsed, FocusStop::kNameBox, FocusStop::kHistory},
      {FocusStop::kNameBox, StopBit(FocusStop::kNameBox), FocusStop::kNameBox, FocusStop::kNameBox},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextFocusStop(c.from, false, c.available), c.forward) << static_cast<int>(c.from);
    EXPECT_EQ(NextFocusStop(c.from, true, c.available), c.backward) << static_cast<int>(c.from);
  }
}

TEST(EditorKeys, KeysMovePressInsertTakeAndDelete) {
  struct Case {
    FocusStop stop;
    int item, key;
    KeyAction action;
    int after;
  } cases[] = {
      {FocusStop::kColours, 3, kKeyRight, KeyAction::kMove, 4},
      {FocusStop::kColours, 7, kKeyRight, KeyAction::kNone, 7},
      {FocusStop::kColours, 0, kKeyLeft, KeyAction::kNone, 0},
      {FocusStop::kColours, 0, kKeyDown, KeyAction::kNone, 0},
      {FocusStop::kColours, 0, kKeySpace, KeyAction::kInsert, 0},
      {FocusStop::kColours, 5, kKeyReturn, KeyAction::kInsert, 5},
      {FocusStop::kHistory, 1, kKeyDown, KeyAction::kMove, 2},
      {FocusStop::kHistory, 3, kKeyDown, KeyAction::kNone, 3},
      {FocusStop::kHistory, 0, kKeyUp, KeyAction::kNone, 0},
      {FocusStop::kHistory, 2, kKeyReturn, KeyAction::kTakeName, 2},
      {FocusStop::kHistory, 2, kKeySpace, KeyAction::kNone, 2},
      {FocusStop::kHistory, 2, kKeyDelete, KeyAction::kDeleteRow, 2},
      {FocusStop::kLetters, 'A', kKeyUp, KeyAction::kMove, 'A' - 16},
      {FocusStop::kLetters, 'A', kKeyDown, KeyAction::kMove, 'A' + 16},
      {FocusStop::kLetters, 15, kKeyRight, KeyAction::kNone, 15},
      {FocusStop::kLetters, 16, kKeyLeft, KeyAction::kNone, 16},
      {FocusStop::kLetters, 127, kKeyDown, KeyAction::kNone, 127},
      {FocusStop::kLetters, 'A', kKeySpace, KeyAction::kInsert, 'A'},
      {FocusStop::kLetters, 0, kKeyReturn, KeyAction::kNone, 0},
      {FocusStop::kKeypad, 0, kKeySpace, KeyAction::kPress, 0},
      {FocusStop::kSave, 0, kKeyReturn, KeyAction::kPress, 0},
      {FocusStop::kSave, 0, kKeyDown, KeyAction::kNone, 0},
      {FocusStop::kNameBox, 0, kKeyReturn, KeyAction::kNone, 0},
  };
  for (const auto& c : cases) {
    const KeyOutcome outcome = KeyAtStop(c.stop, c.item, c.key);
    EXPECT_EQ(outcome.action, c.action) << static_cast<int>(c.stop) << " " << c.item << " " << c.key;
    EXPECT_EQ(outcome.item, c.after) << static_cast<int>(c.stop) << " " << c.item << " " << c.key;
  }
}

TEST(EditorKeys, ItemsAreNamedForScreenReaders) {
  EXPECT_EQ(ItemName(FocusStop::kColours, 1), "Red ^1");
  EXPECT_EQ(ItemName(FocusStop::kColours, 7), "White ^7");
  EXPECT_EQ(ItemName(FocusStop::kLetters, 'A'), "Letter A");
  EXPECT_EQ(ItemName(FocusStop::kLetters, 31), "Character 31");
  EXPECT_EQ(ItemName(FocusStop::kHistory, 0, "^1Hi"), "Earlier name 1: ^1Hi");
  EXPECT_EQ(ItemName(FocusStop::kHistory, 3), "Earlier name 4, empty");
}

}  // namespace
}  // namespace pelorin
