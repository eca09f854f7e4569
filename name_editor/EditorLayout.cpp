#include "EditorLayout.h"

#include <cmath>

namespace pelorin {

namespace {

constexpr int kF4 = 115;
constexpr int kPaletteCellTwips = 240;

int FloorDiv(int value, int divisor) {
  const int quotient = value / divisor;
  return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

// value / divisor (divisor > 0) to the nearest whole number, halves to the even one: in whole
// numbers, as the editor needs no floating point for its layout.
int DivideRoundingHalfEven(int value, int divisor) {
  int quotient = FloorDiv(value, divisor);
  const int twiceRest = 2 * (value - quotient * divisor);
  if (twiceRest > divisor || (twiceRest == divisor && quotient % 2 != 0)) ++quotient;
  return quotient;
}

}  // namespace

std::int16_t HistoryMarkerTop(int y) {
  int top = FloorDiv(y, 17) * 15 + 1;
  if (top >= 30 && top <= 39) top = 32;
  if (top >= 40 && top <= 49) top = 48;
  if (top >= 60 && top <= 69) top = 64;
  return static_cast<std::int16_t>(top);
}

int HistoryRowOfMarker(int markerTop) { return DivideRoundingHalfEven(markerTop, 16); }

Point LetterMarkerOfPointer(int xTwips, int yTwips) {
  const int columnLeft = FloorDiv(xTwips, kPaletteCellTwips) * 16;
  const int rowTop = FloorDiv(yTwips, kPaletteCellTwips) * 16;
  return {layout::kTwipsPerPixel * columnLeft, layout::kTwipsPerPixel * rowTop};
}

int LetterCodeOfMarker(int leftTwips, int topTwips) {
  return 16 * DivideRoundingHalfEven(topTwips, kPaletteCellTwips) + DivideRoundingHalfEven(leftTwips, kPaletteCellTwips);
}

int LinkAreaAt(int x, int y) {
  for (int i = 0; i < 2; ++i) {
    const Rect& area = layout::kLinkAreas[i];
    if (x >= area.left && x < area.left + area.width && y >= area.top && y < area.top + area.height)
      return i;
  }
  return -1;
}

SkinHit HitTestSkin(int x, int y) {
  if (x >= 354 && y <= 18) return SkinHit::kClose;
  if (y <= 20) return SkinHit::kMove;
  return SkinHit::kNone;
}

bool IsCloseKey(int keyCode, int modifierMask) { return keyCode == kF4 && modifierMask == kAltMask; }

bool IsSelectAllKey(int keyCode, int modifierMask) { return keyCode == 'A' && modifierMask == kCtrlMask; }

int ToggledHeightTwips(int heightTwips) {
  return heightTwips != layout::kCollapsedHeightTwips ? layout::kCollapsedHeightTwips
                                                      : layout::kExpandedHeightTwips;
}

}  // namespace pelorin
