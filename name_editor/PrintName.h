#pragma once

#include <cstdint>
#include <string_view>

#include "GlyphCanvas.h"
#include "Pixels.h"

namespace pelorin {

// Draws one coded name as a 16-pixel band whose top row is `pixelY`: the band is cleared
// across the target's width, then every drawn character takes one 16-pixel column.
// Colour pairs are read as the game reads them (ColourPairs.h): each changes the canvas
// colour, which carries over to the next call, and neither of its characters is drawn.
void PrintName(PixelSurface& target, GlyphCanvas& canvas, std::string_view name,
               std::int16_t pixelY);

}  // namespace pelorin
