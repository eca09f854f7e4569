// Feeds arbitrary setup files to the trailer reader: the first eight bytes give the file's
// size, the rest is the start of the file with the image headers, then the 272 bytes that
// end where those headers say the trailer ends. Whatever it accepts lies inside the file and
// before the trailer; a certificate table is taken only when the headers name it and it ends
// the file, and then the trailer and the whole pack lie before it. The same bytes go to the
// uninstaller's readers: the rest after the head as the packed uninstaller's item, rebuilt
// on the head as setup's image only into that image with the item's signing fields and bytes
// (so that it packs again into the same item), and as a removal mark, taken only where it
// names the place it was found at.
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
  const std::string_view rest(reinterpret_cast<const char*>(data + 8), size - 8);
  const std::size_t headSize = rest.size() > pelorin::kTrailerSize ? rest.size() - pelorin::kTrailerSize : 0;
  const std::string_view head = rest.substr(0, headSize);
  const std::string_view item = rest.substr(headSize);
  if (const auto program = pelorin::ProgramOfSelfItem(head, item)) {
    if (program->size() != head.size() + item.size() - pelorin::kSelfItemHead ||
        pelorin::SelfItemOf(head, *program) != item)
      std::abort();
  }
  if (item.size() >= pelorin::kRemovalMarkSize &&
      pelorin::IsRemovalMark(item.substr(0, pelorin::kRemovalMarkSize), fileSize) &&
      pelorin::FormatRemovalMark(fileSize) != item.substr(0, pelorin::kRemovalMarkSize))
    std::abort();
  const auto end = pelorin::TrailerEnd(head, fileSize);
  if (!end) return 0;
  if (*end > fileSize) std::abort();
  if (*end != fileSize) {
    const std::uint64_t table = fileSize - *end;
    if (*end > UINT32_MAX || table > UINT32_MAX) std::abort();
    char entry[8];
    for (int i = 0; i < 4; ++i) {
      entry[i] = static_cast<char>(*end >> (8 * i));
      entry[4 + i] = static_cast<char>(table >> (8 * i));
    }
    if (head.find(std::string_view(entry, 8)) == std::string_view::npos) std::abort();
  }
  const auto trailer = pelorin::ParseTrailer(rest.substr(headSize), *end);
  if (!trailer) return 0;
  if (*end < pelorin::kTrailerSize) std::abort();
  const std::uint64_t limit = *end - pelorin::kTrailerSize;
  if (trailer->listPosition < 1 || trailer->listPosition - 1 + trailer->listLength > limit) std::abort();
  if (trailer->dataPosition < 1 || trailer->dataPosition - 1 + trailer->dataLength > limit) std::abort();
  return 0;
}
