#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>

namespace pelorin {

// The game font: 16 x 8 cells of 16 x 16 pixels, each pixel either glyph or background.
// The cell of character code c (0 to 127) is at (16 * (c % 16), 16 * (c / 16)).
class GlyphSheet {
 public:
  static constexpr int kWidth = 256;
  static constexpr int kHeight = 128;
  static constexpr int kCell = 16;

  bool IsGlyph(int x, int y) const { return bits_[y * kWidth + x]; }
  void SetGlyph(int x, int y, bool glyph) { bits_[y * kWidth + x] = glyph; }
  bool CellIsBlank(int code) const;

  // Expands the packed sheet resources/make_glyph_sheet.py writes: LZSS (a flag byte before
  // each eight items, lowest bit first: set, a literal byte; clear, two bytes little-endian,
  // bits 0-10 the distance back less one and bits 11-15 the length less three) of the cells
  // in code order, each as 16 rows of two bytes, the leftmost pixel in the highest bit.
  // Data that ends early, reaches back before its start, runs past the sheet or goes on
  // after it gives nothing.
  static std::optional<GlyphSheet> FromPacked(std::span<const std::uint8_t> packed);

 private:
  std::bitset<kWidth * kHeight> bits_;
};

}  // namespace pelorin
