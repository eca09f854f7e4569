#include "GlyphCanvas.h"

#include <algorithm>

#include "NameColours.h"

namespace pelorin {

GlyphCanvas::GlyphCanvas(const GlyphSheet& sheet)
    : sheet_(sheet), colour_(kWhite), canvas_(kWidth, kHeight) {
  SetColour(kWhite);
}

void GlyphCanvas::SetColour(Pixel colour) {
  colour_ = colour;
  canvas_.Fill(0, 0, kWidth, kHeight, colour);
  DrawSheet(sheet_, colour, canvas_);
}

void DrawSheet(const GlyphSheet& sheet, Pixel ink, PixelSurface& target) {
  const int width = std::min(GlyphSheet::kWidth, target.Width());
  const int height = std::min(GlyphSheet::kHeight, target.Height());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) target.Set(x, y, sheet.IsGlyph(x, y) ? ink : kBandColour);
}

}  // namespace pelorin
