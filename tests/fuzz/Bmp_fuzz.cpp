// Feeds arbitrary bytes to the BMP readers: the header reader, the run-length expansion, the
// button face reader, the glyph sheet reader and setup's check of its side picture. Nothing may
// read outside the bytes, a picture holds exactly the pixels its size says, run-length data
// gives indices of its depth only, and what setup hands the system as a picture in memory
// (headers, colours, rows or run-length data) lies wholly within the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "BmpHeader.h"
#include "BmpRle.h"
#include "GlyphSheet.h"
#include "PictureFile.h"
#include "SetupUnpack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  if (const auto header = pelorin::ReadBmpHeader(file)) {
    if (header->width < 0 || header->Rows() < 0) std::abort();
    header->DataFits(size);
  }
  // Run-length data on its own: the first bytes give the picture's size and depth.
  if (size >= 3) {
    const std::uint32_t width = data[0] % 64 + 1, rows = data[1] % 64 + 1;
    const bool fourBits = data[2] % 2 == 1;
    if (const auto pixels = pelorin::ExpandBmpRle(file.subspan(3), width, rows, fourBits)) {
      if (pixels->size() != std::size_t{width} * rows) std::abort();
      for (std::uint8_t index : *pixels)
        if (fourBits && index > 15) std::abort();
    }
  }
  if (const pelorin::PictureRef picture = pelorin::PictureFromBmp(file)) {
    if (picture->width <= 0 || picture->height <= 0 ||
        picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height)
      std::abort();
  }
  if (const auto sheet = pelorin::GlyphSheet::FromPacked(file)) sheet->CellIsBlank(65);
  if (const std::size_t rows = pelorin::BitmapRowsOffset({reinterpret_cast<const char*>(data), size})) {
    const auto header = pelorin::ReadBmpHeader(file);
    constexpr std::size_t kHeaders = 14 + 40;
    if (!header || rows < kHeaders || rows != header->dataOffset ||
        14 + std::uint64_t{pelorin::ReadLittleEndian(file, 14, 4)} > rows)
      std::abort();
    if (header->compression == 0) {
      if (!header->DataFits(size)) std::abort();
    } else {
      const std::uint32_t compressed = pelorin::ReadLittleEndian(file, 34, 4);
      const bool rle8 = header->bitsPerPixel == 8 && header->compression == pelorin::kBmpRle8;
      const bool rle4 = header->bitsPerPixel == 4 && header->compression == pelorin::kBmpRle4;
      if ((!rle8 && !rle4) || !header->BottomUp() || compressed > size - rows ||
          !pelorin::ExpandBmpRle(file.subspan(rows, compressed), header->width, header->height, rle4))
        std::abort();
    }
  }
  return 0;
}
