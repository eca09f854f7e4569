#pragma once

#include <cstdint>
#include <span>

#include "ButtonValues.h"

namespace pelorin {

// A picture from the bytes of an uncompressed 24-bit BMP file, or nothing when the bytes are
// not one (wrong header, depth or compression, data shorter than the header says).
PictureRef PictureFromBmp(std::span<const std::uint8_t> file);

}  // namespace pelorin
