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

  // Reads a 256 x 128 one-bit-per-pixel BMP file image in which palette index 1 marks glyph
  // pixels. Anything else (wrong size, depth, compression, truncated data) gives nothing.
  static std::optional<GlyphSheet> FromBmp(std::span<const std::uint8_t> file);

 private:
  std::bitset<kWidth * kHeight> bits_;
};

}  // namespace pelorin
