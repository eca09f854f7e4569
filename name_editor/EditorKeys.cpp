#include "EditorKeys.h"

#include "DecimalText.h"

namespace pelorin {

namespace {

struct Grid {
  int columns;
  int rows;
};

Grid GridOf(FocusStop stop) {
  switch (stop) {
    case FocusStop::kColours:
      return {8, 1};
    case FocusStop::kHistory:
      return {1, 4};
    case FocusStop::kLetters:
      return {16, 8};
    default:
      return {1, 1};
  }
}

int Moved(int item, int keyCode, Grid grid) {
  const int column = item % grid.columns;
  const int row = item / grid.columns;
  if (keyCode == kKeyLeft && column > 0) return item - 1;
  if (keyCode == kKeyRight && column < grid.columns - 1) return item + 1;
  if (keyCode == kKeyUp && row > 0) return item - grid.columns;
  if (keyCode == kKeyDown && row < grid.rows - 1) return item + grid.columns;
  return item;
}

constexpr const char* kColourNames[8] = {"Black", "Red", "Green", "Yellow", "Blue", "Cyan", "Magenta", "White"};

}  // namespace

FocusStop NextFocusStop(FocusStop from, bool backwards, unsigned available) {
  int index = static_cast<int>(from);
  for (int step = 1; step < kFocusStops; ++step) {
    index = (index + (backwards ? kFocusStops - 1 : 1)) % kFocusStops;
    if (available & (1u << index)) return static_cast<FocusStop>(index);
  }
  return from;
}

KeyOutcome KeyAtStop(FocusStop stop, int item, int keyCode) {
  const bool press = keyCode == kKeyReturn || keyCode == kKeySpace;
  switch (stop) {
    case FocusStop::kKeypad:
    case FocusStop::kSave:
      return {press ? KeyAction::kPress : KeyAction::kNone, item};
    case FocusStop::kHistory:
      if (keyCode == kKeyReturn) return {KeyAction::kTakeName, item};
      if (keyCode == kKeyDelete) return {KeyAction::kDeleteRow, item};
      break;
    case FocusStop::kColours:
    case FocusStop::kLetters:
      if (press) return {item > 0 || stop == FocusStop::kColours ? KeyAction::kInsert : KeyAction::kNone, item};
      break;
    case FocusStop::kNameBox:
      return {KeyAction::kNone, item};
  }
  const int moved = Moved(item, keyCode, GridOf(stop));
  return {moved != item ? KeyAction::kMove : KeyAction::kNone, moved};
}

String ItemName(FocusStop stop, int item, std::string_view historyName) {
  String name;
  if (stop == FocusStop::kColours) {
    name = kColourNames[item & 7];
    name += " ^";
    name += static_cast<char>('0' + (item & 7));
  } else if (stop == FocusStop::kLetters) {
    if (item > 32 && item < 127) {
      name = "Letter ";
      name += static_cast<char>(item);
    } else {
      name = "Character ";
      name += WholeNumberText(static_cast<std::uint32_t>(item));
    }
  } else if (stop == FocusStop::kHistory) {
    name = "Earlier name ";
    name += static_cast<char>('1' + item);
    name += historyName.empty() ? ", empty" : ": ";
    name += historyName;
  }
  return name;
}

}  // namespace pelorin
