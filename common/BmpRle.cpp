#include "BmpRle.h"

namespace pelorin {

std::optional<std::vector<std::uint8_t>> ExpandBmpRle(std::span<const std::uint8_t> data, std::uint32_t width,
                                                      std::uint32_t rows, bool fourBits) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * rows);
  // The index of pixel `i` of a run or stretch whose bytes hold one (8 bits) or two (4 bits).
  const auto index = [fourBits](std::uint8_t byte, std::uint32_t i) -> std::uint8_t {
    return fourBits ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte;
  };
  std::size_t at = 0;
  std::uint32_t x = 0, y = 0;
  while (data.size() - at >= 2) {
    const std::uint8_t count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {  // a run of `count` pixels
      if (y >= rows || count > width - x) return std::nullopt;
      for (std::uint32_t i = 0; i < count; ++i) pixels[std::size_t{y} * width + x + i] = index(value, i);
      x += count;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        if (y >= rows) return std::nullopt;
        x = 0;
        ++y;
        break;
      case 1:  // end of picture
        return pixels;
      case 2: {  // a move right and up
        if (data.size() - at < 2) return std::nullopt;
        const std::uint8_t right = data[at], up = data[at + 1];
        at += 2;
        if (right > width - x || up > rows - y || (y + up == rows && (right > 0 || x > 0))) return std::nullopt;
        x += right;
        y += up;
        break;
      }
      default: {  // `value` pixels stored one by one, their bytes padded to an even count
        const std::size_t bytes = fourBits ? (value + 1u) / 2 : value;
        const std::size_t padded = bytes + bytes % 2;
        if (y >= rows || value > width - x || data.size() - at < padded) return std::nullopt;
        for (std::uint32_t i = 0; i < value; ++i)
          pixels[std::size_t{y} * width + x + i] = index(data[at + (fourBits ? i / 2 : i)], i);
        x += value;
        at += padded;
        break;
      }
    }
  }
  return std::nullopt;
}

}  // namespace pelorin
