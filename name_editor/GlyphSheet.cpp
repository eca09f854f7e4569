#include "GlyphSheet.h"

#include "BmpHeader.h"

namespace pelorin {

bool GlyphSheet::CellIsBlank(int code) const {
  const int left = kCell * (code % 16);
  const int top = kCell * (code / 16);
  for (int y = top; y < top + kCell; ++y)
    for (int x = left; x < left + kCell; ++x)
      if (IsGlyph(x, y)) return false;
  return true;
}

std::optional<GlyphSheet> GlyphSheet::FromBmp(std::span<const std::uint8_t> file) {
  const std::optional<BmpHeader> header = ReadBmpHeader(file);
  if (!header || header->width != kWidth || header->Rows() != kHeight || header->bitsPerPixel != 1 ||
      header->compression != 0 || !header->DataFits(file.size()))
    return {};

  GlyphSheet sheet;
  for (int row = 0; row < kHeight; ++row) {
    const int y = header->BottomUp() ? kHeight - 1 - row : row;
    const std::size_t rowStart = header->dataOffset + row * header->Stride();
    for (int x = 0; x < kWidth; ++x) sheet.SetGlyph(x, y, (file[rowStart + x / 8] >> (7 - x % 8)) & 1);
  }
  return sheet;
}

}  // namespace pelorin
