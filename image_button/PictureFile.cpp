#include "PictureFile.h"

#include <vector>

#include "BmpHeader.h"
#include "BmpRle.h"

namespace pelorin {

namespace {

constexpr int kMaxSide = 4096;

// An 8-bit file's colour table, which follows the info header, into `palette`: how many
// colours it holds, or 0 when it does not fit.
std::uint32_t ReadPalette(std::span<const std::uint8_t> file, const BmpHeader& header, Pixel (&palette)[256]) {
  const std::uint64_t start = 14 + static_cast<std::uint64_t>(ReadLittleEndian(file, 14, 4));
  std::uint32_t count = ReadLittleEndian(file, 46, 4);
  if (count == 0) count = 256;
  if (count > 256 || start + 4 * count > header.dataOffset) return 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = start + 4 * i;
    palette[i] = MakePixel(file[at + 2], file[at + 1], file[at]);
  }
  return count;
}

}  // namespace

PictureRef PictureFromBmp(std::span<const std::uint8_t> file) {
  const std::optional<BmpHeader> header = ReadBmpHeader(file);
  if (!header) return nullptr;
  const bool indexed = header->bitsPerPixel == 8;
  const bool rle = indexed && header->compression == kBmpRle8;
  if ((header->bitsPerPixel != 24 && !indexed) || (header->compression != 0 && !rle))
    return nullptr;
  const std::int32_t width = header->width;
  const std::int32_t height = header->Rows();
  // Run-length data is stored bottom-up only; its length is the info header's image size.
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || header->dataOffset > file.size() ||
      (rle ? !header->BottomUp() : !header->DataFits(file.size())))
    return nullptr;
  Pixel palette[256];
  std::uint32_t colours = 0;
  if (indexed && (colours = ReadPalette(file, *header, palette)) == 0) return nullptr;
  std::optional<std::vector<std::uint8_t>> expanded;
  if (rle) {
    const std::uint32_t size = ReadLittleEndian(file, 34, 4);
    if (size > file.size() - header->dataOffset ||
        !(expanded = ExpandBmpRle(file.subspan(header->dataOffset, size), width, height, false)))
      return nullptr;
  }

  PictureObject picture{width, height, std::vector<Pixel>(static_cast<std::size_t>(width) * height)};
  for (std::int32_t row = 0; row < height; ++row) {
    const std::int32_t y = header->BottomUp() ? height - 1 - row : row;
    const std::uint8_t* stored = expanded ? &(*expanded)[static_cast<std::size_t>(row) * width]
                                          : &file[header->dataOffset + row * header->Stride()];
    Pixel* out = &picture.pixels[static_cast<std::size_t>(y) * width];
    for (std::int32_t x = 0; x < width; ++x) {
      if (indexed) {
        const std::uint8_t index = stored[x];
        if (index >= colours) return nullptr;
        out[x] = palette[index];
      } else {
        out[x] = MakePixel(stored[3 * x + 2], stored[3 * x + 1], stored[3 * x]);
      }
    }
  }
  return PictureRef(new PictureObject(std::move(picture)));
}

}  // namespace pelorin
