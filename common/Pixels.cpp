#include "Pixels.h"

#include <algorithm>

namespace pelorin {

void PixelSurface::Fill(int left, int top, int right, int bottom, Pixel pixel) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int y = top; y < bottom; ++y) {
    std::fill(pixels_ + y * width_ + left, pixels_ + y * width_ + std::max(left, right), pixel);
  }
}

void PixelSurface::CopyBlock(const PixelSurface& source, int sourceX, int sourceY, int width,
                             int height, int x, int y) {
  for (int row = 0; row < height; ++row) {
    const int fromY = sourceY + row;
    const int toY = y + row;
    if (fromY < 0 || fromY >= source.height_ || toY < 0 || toY >= height_) continue;
    for (int column = 0; column < width; ++column) {
      const int fromX = sourceX + column;
      const int toX = x + column;
      if (fromX < 0 || fromX >= source.width_ || toX < 0 || toX >= width_) continue;
      pixels_[toY * width_ + toX] = source.pixels_[fromY * source.width_ + fromX];
    }
  }
}

}  // namespace pelorin
