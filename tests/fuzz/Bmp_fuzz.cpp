// Feeds arbitrary bytes to the BMP readers: the header reader, the button face reader and
// the glyph sheet reader. Nothing may read outside the bytes, and a picture holds exactly
// the pixels its size says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "BmpHeader.h"
#include "GlyphSheet.h"
#include "PictureFile.h"

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
  return 0;
}
