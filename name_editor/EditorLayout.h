#pragma once

#include <cstdint>

#include "DecimalText.h"

namespace pelorin {

struct Point {
  int x;
  int y;
};

struct Rect {
  int left;
  int top;
  int width;
  int height;
};

// The window is laid out at 100 % and drawn at a whole factor: every rectangle scales by it.
inline constexpr Rect Scaled(const Rect& rect, int scale) {
  return {rect.left * scale, rect.top * scale, rect.width * scale, rect.height * scale};
}

// Geometry of the main window, in pixels from its top-left corner.
namespace layout {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kCollapsedHeightTwips = 2745;
inline constexpr int kExpandedHeightTwips = 5715;
inline constexpr int kDesignWidthTwips = 5535;
inline constexpr int kWidthTwips = kDesignWidthTwips - 90;
inline constexpr int kClientHeight = 382;

inline constexpr Rect kNameBox{50, 32, 269, 15};
inline constexpr Rect kPreview{50, 54, 268, 17};
inline constexpr int kColourBoxLeft = 50;
inline constexpr int kColourBoxTop = 80;
inline constexpr int kColourBoxStep = 16;
inline constexpr int kColourBoxSize = 17;
inline constexpr Rect kKeypadButton{186, 80, 65, 19};
inline constexpr Rect kSaveButton{256, 80, 65, 19};
inline constexpr Rect kHistory{50, 108, 268, 64};
inline constexpr Rect kLetters{57, 195, 256, 128};
// The name's length against the servers' limit, right-aligned in the title strip before the
// close mark.
inline constexpr Rect kNameCounter{270, 0, 78, 21};
inline constexpr Rect kLinkAreas[2] = {{325, 198, 33, 164}, {126, 351, 120, 17}};

inline constexpr Rect ColourBox(int index) {
  return {kColourBoxLeft + kColourBoxStep * index, kColourBoxTop, kColourBoxSize, kColourBoxSize};
}

}  // namespace layout

// Top of the history marker, in pixels, for a pointer at `y` pixels within the history area.
std::int16_t HistoryMarkerTop(int y);

// The history row under a marker whose top is `markerTop` pixels; rows 0 to 3 exist.
int HistoryRowOfMarker(int markerTop);

// Top-left corner of the letter-palette marker, in twips, for a pointer at (x, y) twips.
Point LetterMarkerOfPointer(int xTwips, int yTwips);

// The character code of the palette cell under a marker at (left, top) twips.
int LetterCodeOfMarker(int leftTwips, int topTwips);

// The link area (0 or 1) at (x, y) window pixels, or -1.
int LinkAreaAt(int x, int y);

enum class SkinHit { kClose, kMove, kNone };

// What a left press on the bare skin at (x, y) window pixels does.
SkinHit HitTestSkin(int x, int y);

// Modifier masks of key events: Shift 1, Ctrl 2, Alt 4.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// True for Alt+F4 with no other modifier: the window's own close key.
bool IsCloseKey(int keyCode, int modifierMask);

// True for Ctrl+A with no other modifier: select the whole name, which a plain text box
// does not do by itself.
bool IsSelectAllKey(int keyCode, int modifierMask);

// The height the Keypad button switches a window of `heightTwips` to.
int ToggledHeightTwips(int heightTwips);

}  // namespace pelorin
