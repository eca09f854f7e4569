// Feeds arbitrary bytes to the BMP readers: the header reader, the button face reader, the
// glyph sheet reader and setup's check of its side picture. Nothing may read outside the
// bytes, a picture holds exactly the pixels its size says, and what setup hands the system
// as a picture in memory (headers, colours, rows) lies wholly within the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "BmpHeader.h"
#include "GlyphSheet.h"
#include "PictureFile.h"
#include "SetupUnpack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  if (const auto header = pelorin::ReadBmpHeader(file)) {
    if (header->width < 0 || header->Rows() < 0) std::abort();
    header->DataFits(size);
  }
  if (const pelorin::PictureRef picture = pelorin::PictureFromBmp(file)) {
    if (picture->width <= 0 || picture->height <= 0 ||
        picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height)
      std::abort();
  }
  if (const auto sheet = pelorin::GlyphSheet::FromBmp(file)) sheet->CellIsBlank(65);
  if (const std::size_t rows = pelorin::PlainBitmapRowsOffset({reinterpret_cast<const char*>(data), size})) {
    const auto header = pelorin::ReadBmpHeader(file);
    constexpr std::size_t kHeaders = 14 + 40;
    if (!header || header->compression != 0 || rows < kHeaders || rows != header->dataOffset ||
        14 + std::uint64_t{pelorin::ReadLittleEndian(file, 14, 4)} > rows || !header->DataFits(size))
      std::abort();
  }
  return 0;
}
