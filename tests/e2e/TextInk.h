#pragma once

#include <cstdint>
#include <vector>

namespace pelorin::e2e {

// Where a control's text lies in a block of its screen pixels: the box round the dark pixels
// at least `inset` pixels inside the block. Text that wraps otherwise or is cut off at one
// scale gives a box of other proportions than at another.
struct TextInk {
  int left = -1, right = -1, top = -1, bottom = -1;
  bool touchesEdge = false;  // ink in the inset frame's last row or column: cut off there
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

// True when `larger` is the same text as `smaller` drawn about `factor` times as large.
inline bool ScaledBy(const TextInk& larger, const TextInk& smaller, double factor) {
  const double across = static_cast<double>(larger.Width()) / smaller.Width();
  const double down = static_cast<double>(larger.Height()) / smaller.Height();
  return smaller.left >= 0 && across > 0.8 * factor && across < 1.2 * factor && down > 0.8 * factor &&
         down < 1.2 * factor;
}

inline TextInk InkOf(const std::vector<std::vector<std::uint32_t>>& block, int inset) {
  TextInk ink;
  const int height = static_cast<int>(block.size());
  const int width = height > 0 ? static_cast<int>(block[0].size()) : 0;
  for (int y = inset; y < height - inset; ++y) {
    for (int x = inset; x < width - inset; ++x) {
      const std::uint32_t pixel = block[y][x];
      if (((pixel >> 16) & 0xFF) >= 0x70 || ((pixel >> 8) & 0xFF) >= 0x70 || (pixel & 0xFF) >= 0x70) continue;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      if (x > ink.right) ink.right = x;
      if (ink.top < 0) ink.top = y;
      ink.bottom = y;
      ink.touchesEdge = ink.touchesEdge || x == width - inset - 1 || y == height - inset - 1;
    }
  }
  return ink;
}

}  // namespace pelorin::e2e
