#pragma once

#include <cstdint>
#include <vector>

namespace pelorin {

// A pixel as 32-bit device-independent bitmaps hold it: 0x00RRGGBB.
using Pixel = std::uint32_t;

constexpr Pixel MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (Pixel{red} << 16) | (Pixel{green} << 8) | Pixel{blue};
}

// Converts a colour in the system's 0x00BBGGRR layout.
constexpr Pixel PixelFromColorRef(std::uint32_t colorRef) {
  return MakePixel(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

constexpr std::uint32_t ColorRefFromPixel(Pixel pixel) {
  return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

// A view of top-down rows of pixels owned by someone else (a DIB section or a PixelBuffer).
// Every drawing operation clips to the surface, so callers may pass any rectangle.
class PixelSurface {
 public:
  PixelSurface(Pixel* pixels, int width, int height) : pixels_(pixels), width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  Pixel At(int x, int y) const { return pixels_[y * width_ + x]; }
  void Set(int x, int y, Pixel pixel) { pixels_[y * width_ + x] = pixel; }

  // Fills [left, right) x [top, bottom).
  void Fill(int left, int top, int right, int bottom, Pixel pixel);

  // Copies a width x height block from `source` at (sourceX, sourceY) to (x, y) here.
  // Parts outside either surface are skipped.
  void CopyBlock(const PixelSurface& source, int sourceX, int sourceY, int width, int height,
                 int x, int y);

 protected:
  void Rebind(Pixel* pixels) { pixels_ = pixels; }

 private:
  Pixel* pixels_;
  int width_;
  int height_;
};

class PixelBuffer : public PixelSurface {
 public:
  PixelBuffer(int width, int height, Pixel fill = 0)
      : PixelSurface(nullptr, width, height),
        storage_(static_cast<std::size_t>(width) * height, fill) {
    Rebind(storage_.data());
  }
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;

 private:
  std::vector<Pixel> storage_;
};

}  // namespace pelorin
