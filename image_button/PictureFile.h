#pragma once

#include <cstdint>
#include <span>

#include "ButtonValues.h"

namespace pelorin {

// A picture from the bytes of an uncompressed 24-bit or 8-bit (colour table) BMP file, or
// nothing when the bytes are not one (wrong header, depth or compression, data or colour
// table shorter than the header says, a colour index past the table).
PictureRef PictureFromBmp(std::span<const std::uint8_t> file);

}  // namespace pelorin
