#pragma once

#include "Str.h"
#include <string_view>

namespace pelorin {

// The places the keyboard's focus stops at in the main window, in Tab order.
enum class FocusStop { kNameBox, kColours, kKeypad, kSave, kHistory, kLetters };
inline constexpr int kFocusStops = 6;

inline constexpr unsigned StopBit(FocusStop stop) { return 1u << static_cast<int>(stop); }

// The stop Tab (or Shift+Tab) moves to from `from`, passing over stops not in `available`
// (a disabled Save, the letter palette of a collapsed window); `from` when none is.
FocusStop NextFocusStop(FocusStop from, bool backwards, unsigned available);

enum class KeyAction { kNone, kMove, kPress, kInsert, kTakeName, kDeleteRow };

struct KeyOutcome {
  KeyAction action = KeyAction::kNone;
  int item = 0;  // the focused item afterwards: colour digit, history row or letter code
};

// Virtual key codes the window hands over.
inline constexpr int kKeyReturn = 0x0D;
inline constexpr int kKeySpace = 0x20;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyDelete = 0x2E;

// What a key does at a stop whose focused item is `item`. Arrows move within the colour row
// (8), the history (4 rows) or the letter sheet (16 x 8), stopping at the edges; Enter and
// Space press a button or insert a colour code or letter (code 0 inserts nothing); in the
// history Enter takes the row's name and Delete deletes the row.
KeyOutcome KeyAtStop(FocusStop stop, int item, int keyCode);

// What a screen reader says for the focused item: a colour's name and code, a letter, or a
// history row's name.
String ItemName(FocusStop stop, int item, std::string_view historyName = {});

}  // namespace pelorin
