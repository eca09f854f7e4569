#include "GlyphSheet.h"

#include <cstddef>

namespace pelorin {

bool GlyphSheet::CellIsBlank(int code) const {
  const int left = kCell * (code % 16);
  const int top = kCell * (code / 16);
  for (int y = top; y < top + kCell; ++y)
    for (int x = left; x < left + kCell; ++x)
      if (IsGlyph(x, y)) return false;
  return true;
}

std::optional<GlyphSheet> GlyphSheet::FromPacked(std::span<const std::uint8_t> packed) {
  constexpr std::size_t kSize = kWidth * kHeight / 8;
  std::uint8_t rows[kSize];
  std::size_t out = 0, in = 0;
  unsigned flags = 1;
  while (out < kSize) {
    if (flags == 1) {
      if (in == packed.size()) return {};
      flags = packed[in++] | 0x100u;
    }
    if (flags & 1) {
      if (in == packed.size()) return {};
      rows[out++] = packed[in++];
    } else {
      if (packed.size() - in < 2) return {};
      const unsigned word = packed[in] | packed[in + 1] << 8;
      in += 2;
      const std::size_t distance = (word & 0x7FF) + 1, length = (word >> 11) + 3;
      if (distance > out || length > kSize - out) return {};
      for (std::size_t end = out + length; out < end; ++out) rows[out] = rows[out - distance];
    }
    flags >>= 1;
  }
  if (in != packed.size()) return {};

  GlyphSheet sheet;
  for (std::size_t at = 0; at < kSize; ++at) {
    const int cell = static_cast<int>(at / 32);
    const int x = kCell * (cell % 16) + 8 * (at % 2), y = kCell * (cell / 16) + static_cast<int>(at % 32 / 2);
    for (int bit = 0; bit < 8; ++bit) sheet.SetGlyph(x + bit, y, (rows[at] >> (7 - bit)) & 1);
  }
  return sheet;
}

}  // namespace pelorin
