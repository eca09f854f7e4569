#include "PictureFile.h"

namespace pelorin {

namespace {

std::uint32_t ReadLe(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

constexpr int kMaxSide = 4096;

}  // namespace

PictureRef PictureFromBmp(std::span<const std::uint8_t> file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return nullptr;
  const std::uint32_t offset = ReadLe(file, 10, 4);
  const auto width = static_cast<std::int32_t>(ReadLe(file, 18, 4));
  const auto rawHeight = static_cast<std::int32_t>(ReadLe(file, 22, 4));
  if (ReadLe(file, 28, 2) != 24 || ReadLe(file, 30, 4) != 0) return nullptr;
  const std::int32_t height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  if (offset > file.size() || (file.size() - offset) / stride < static_cast<std::size_t>(height)) return nullptr;

  auto picture = std::make_shared<PictureObject>();
  picture->width = width;
  picture->height = height;
  picture->pixels.resize(static_cast<std::size_t>(width) * height);
  for (std::int32_t row = 0; row < height; ++row) {
    const std::int32_t y = rawHeight > 0 ? height - 1 - row : row;
    const std::size_t start = offset + row * stride;
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t at = start + 3 * x;
      picture->pixels[static_cast<std::size_t>(y) * width + x] = MakePixel(file[at + 2], file[at + 1], file[at]);
    }
  }
  return picture;
}

}  // namespace pelorin
