#include "PrintName.h"

#include "ColourPairs.h"
#include "NameColours.h"

namespace pelorin {

namespace {

constexpr int kCell = GlyphSheet::kCell;
constexpr int kMaxPosition = 32767;  // column positions are 16-bit

}  // namespace

void PrintName(PixelSurface& target, GlyphCanvas& canvas, std::string_view name,
               std::int16_t pixelY) {
  target.Fill(0, pixelY, target.Width(), pixelY + kCell, kBandColour);

  const std::size_t length = name.size();
  int column = 0;
  for (std::size_t i = 0; i < length;) {
    if (IsColourPair(name, i)) {
      canvas.SetColour(kPalette[ColourIndex(name[i + 1])]);
      i += 2;
      continue;
    }
    ++column;
    const auto code = static_cast<unsigned char>(name[i]);
    // The position is formed as column * 16 - 16; a column whose product leaves the
    // 16-bit range cannot be placed and is skipped.
    if (column * kCell <= kMaxPosition) {
      target.CopyBlock(canvas.Surface(), kCell * (code % 16), kCell * (code / 16), kCell, kCell,
                       column * kCell - kCell, pixelY);
    }
    ++i;
  }
}

}  // namespace pelorin
