#include "GlyphSheet.h"

namespace pelorin {

namespace {

std::uint32_t ReadLe(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

}  // namespace

bool GlyphSheet::CellIsBlank(int code) const {
  const int left = kCell * (code % 16);
  const int top = kCell * (code / 16);
  for (int y = top; y < top + kCell; ++y)
    for (int x = left; x < left + kCell; ++x)
      if (IsGlyph(x, y)) return false;
  return true;
}

std::optional<GlyphSheet> GlyphSheet::FromBmp(std::span<const std::uint8_t> file) {
  constexpr std::size_t kFileHeader = 14;
  constexpr std::size_t kInfoHeader = 40;
  if (file.size() < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M') return {};
  const std::uint32_t dataOffset = ReadLe(file, 10, 4);
  const std::int32_t width = static_cast<std::int32_t>(ReadLe(file, 18, 4));
  const std::int32_t height = static_cast<std::int32_t>(ReadLe(file, 22, 4));
  const std::uint32_t bitsPerPixel = ReadLe(file, 28, 2);
  const std::uint32_t compression = ReadLe(file, 30, 4);
  if (width != kWidth || (height != kHeight && height != -kHeight) || bitsPerPixel != 1 ||
      compression != 0)
    return {};

  constexpr std::size_t kStride = kWidth / 8;  // already a multiple of four bytes
  if (dataOffset > file.size() || file.size() - dataOffset < kStride * kHeight) return {};

  GlyphSheet sheet;
  const bool bottomUp = height > 0;
  for (int row = 0; row < kHeight; ++row) {
    const int y = bottomUp ? kHeight - 1 - row : row;
    const std::size_t rowStart = dataOffset + row * kStride;
    for (int x = 0; x < kWidth; ++x) {
      const bool bit = (file[rowStart + x / 8] >> (7 - x % 8)) & 1;
      sheet.SetGlyph(x, y, bit);
    }
  }
  return sheet;
}

}  // namespace pelorin
