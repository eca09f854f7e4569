#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelorin {

// BMP compression codes of run-length data: RLE8 for 8 bits a pixel, RLE4 for 4.
inline constexpr std::uint32_t kBmpRle8 = 1;
inline constexpr std::uint32_t kBmpRle4 = 2;

// Expands run-length pixel data into one palette index a pixel, `width` by `rows`, in stored
// order (the first row is the bottom one); pixels the data skips are index 0. Strict: every
// run, every absolute stretch and every move stays within the picture, every byte read lies
// within `data`, and the data ends its picture with the end-of-picture code; otherwise
// nothing.
std::optional<std::vector<std::uint8_t>> ExpandBmpRle(std::span<const std::uint8_t> data, std::uint32_t width,
                                                      std::uint32_t rows, bool fourBits);

}  // namespace pelorin
