#include "PictureFile.h"

#include "BmpHeader.h"

namespace pelorin {

namespace {

constexpr int kMaxSide = 4096;

}  // namespace

PictureRef PictureFromBmp(std::span<const std::uint8_t> file) {
  const std::optional<BmpHeader> header = ReadBmpHeader(file);
  if (!header || header->bitsPerPixel != 24 || header->compression != 0) return nullptr;
  const std::int32_t width = header->width;
  const std::int32_t height = header->Rows();
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !header->DataFits(file.size()))
    return nullptr;

  auto picture = std::shared_ptr<PictureObject>(new PictureObject);
  picture->width = width;
  picture->height = height;
  picture->pixels.resize(static_cast<std::size_t>(width) * height);
  for (std::int32_t row = 0; row < height; ++row) {
    const std::int32_t y = header->BottomUp() ? height - 1 - row : row;
    const std::size_t start = header->dataOffset + row * header->Stride();
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t at = start + 3 * x;
      picture->pixels[static_cast<std::size_t>(y) * width + x] = MakePixel(file[at + 2], file[at + 1], file[at]);
    }
  }
  return picture;
}

}  // namespace pelorin
