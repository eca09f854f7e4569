#pragma once

#include <cstdint>
#include <span>

#include "ButtonValues.h"

namespace pelorin {

// A picture from the bytes of a 24-bit or 8-bit (colour table) BMP file, the 8-bit one
// uncompressed or RLE8, or nothing when the bytes are not one (wrong header, depth or
// compression, data or colour table shorter than the header says, run-length data that
// ExpandBmpRle refuses, a colour index past the table).
PictureRef PictureFromBmp(std::span<const std::uint8_t> file);

}  // namespace pelorin
