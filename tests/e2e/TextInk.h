#pragma once

#include <cstdint>
#include <vector>

namespace pelorin::e2e {

// Where a control's text lies in a block of its screen pixels: the dark pixels at least
// `inset` pixels inside the block, and the runs of rows holding them (one per text line).
struct TextInk {
  int lines = 0;
  int left = -1, right = -1, top = -1, bottom = -1;
  bool touchesEdge = false;  // ink in the inset frame's last row or column: cut off there
  int Width() const { return right - left + 1; }
};

inline TextInk InkOf(const std::vector<std::vector<std::uint32_t>>& block, int inset) {
  TextInk ink;
  const int height = static_cast<int>(block.size());
  const int width = height > 0 ? static_cast<int>(block[0].size()) : 0;
  bool previousRow = false;
  for (int y = inset; y < height - inset; ++y) {
    bool row = false;
    for (int x = inset; x < width - inset; ++x) {
      const std::uint32_t pixel = block[y][x];
      if (((pixel >> 16) & 0xFF) >= 0x70 || ((pixel >> 8) & 0xFF) >= 0x70 || (pixel & 0xFF) >= 0x70) continue;
      row = true;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      if (x > ink.right) ink.right = x;
      if (ink.top < 0) ink.top = y;
      ink.bottom = y;
      ink.touchesEdge = ink.touchesEdge || x == width - inset - 1 || y == height - inset - 1;
    }
    ink.lines += row && !previousRow;
    previousRow = row;
  }
  return ink;
}

}  // namespace pelorin::e2e
