#pragma once

#include "Pixels.h"

namespace pelorin {

// Background of every drawn band, of the glyph sheet and of the name areas.
inline constexpr Pixel kBandColour = MakePixel(0, 65, 124);
inline constexpr Pixel kWhite = MakePixel(255, 255, 255);
inline constexpr Pixel kYellow = MakePixel(255, 255, 0);

// The eight colours of the codes "^0" to "^7", by digit.
inline constexpr Pixel kPalette[8] = {
    MakePixel(0, 0, 0),     MakePixel(255, 0, 0),   MakePixel(0, 255, 0),
    MakePixel(255, 255, 0), MakePixel(0, 0, 255),   MakePixel(0, 255, 255),
    MakePixel(255, 0, 255), MakePixel(255, 255, 255),
};

}  // namespace pelorin
