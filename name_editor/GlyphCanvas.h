#pragma once

#include "GlyphSheet.h"
#include "Pixels.h"

namespace pelorin {

// The off-screen surface that names are copied from, cell by cell: the current glyph colour
// with the sheet laid over it, so glyph pixels show that colour and background pixels the
// band colour. Below the sheet the canvas is plain glyph colour, which is what codes
// 128 to 255 copy.
class GlyphCanvas {
 public:
  static constexpr int kWidth = 260;
  static constexpr int kHeight = 264;

  explicit GlyphCanvas(const GlyphSheet& sheet);

  Pixel Colour() const { return colour_; }
  void SetColour(Pixel colour);
  const PixelSurface& Surface() const { return canvas_; }

 private:
  const GlyphSheet& sheet_;
  Pixel colour_;
  PixelBuffer canvas_;
};

// Lays the sheet over `target` at (0, 0): glyph pixels in `ink`, background in band colour.
void DrawSheet(const GlyphSheet& sheet, Pixel ink, PixelSurface& target);

}  // namespace pelorin
