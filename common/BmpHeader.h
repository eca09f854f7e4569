#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace pelorin {

// The parts of a BMP file's headers that the picture readers need. Rows are stored
// bottom-up when `height` is positive.
struct BmpHeader {
  std::uint32_t dataOffset = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t compression = 0;

  std::int32_t Rows() const { return height < 0 ? -height : height; }
  bool BottomUp() const { return height > 0; }
  // Bytes per stored row, padded to four; 64-bit, so no width and depth can overflow it.
  std::uint64_t Stride() const { return (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4; }
  // Whether the file holds every row the header promises.
  // A row longer than what is there leaves room for none; otherwise the division is done in
  // the file's own width, without the library's 64-bit division.
  bool DataFits(std::size_t fileSize) const {
    if (dataOffset > fileSize || Stride() == 0) return false;
    const std::size_t available = fileSize - dataOffset;
    const std::size_t rows = static_cast<std::size_t>(Rows());
    return Stride() > available ? rows == 0 : available / static_cast<std::size_t>(Stride()) >= rows;
  }
};

inline std::uint32_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

// The headers of a BMP file, or nothing when the bytes do not start with them.
inline std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  BmpHeader header;
  header.dataOffset = ReadLittleEndian(file, 10, 4);
  header.width = static_cast<std::int32_t>(ReadLittleEndian(file, 18, 4));
  header.height = static_cast<std::int32_t>(ReadLittleEndian(file, 22, 4));
  header.bitsPerPixel = ReadLittleEndian(file, 28, 2);
  header.compression = ReadLittleEndian(file, 30, 4);
  // A width below 0 means nothing, and the lowest height has no row count to match it.
  if (header.width < 0 || header.height == INT32_MIN) return std::nullopt;
  return header;
}

}  // namespace pelorin
