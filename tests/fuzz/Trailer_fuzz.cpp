// Feeds arbitrary trailers to the trailer reader: the first eight bytes give the file size,
// the rest is the trailer. Whatever it accepts must lie inside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "SetupData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  std::uint64_t fileSize = 0;
  std::memcpy(&fileSize, data, 8);
  const std::string_view bytes(reinterpret_cast<const char*>(data + 8), size - 8);
  const auto trailer = pelorin::ParseTrailer(bytes, fileSize);
  if (!trailer) return 0;
  const std::uint64_t limit = fileSize - pelorin::kTrailerSize;
  if (trailer->listPosition < 1 || trailer->listPosition - 1 + trailer->listLength > limit) std::abort();
  if (trailer->dataPosition < 1 || trailer->dataPosition - 1 + trailer->dataLength > limit) std::abort();
  return 0;
}
