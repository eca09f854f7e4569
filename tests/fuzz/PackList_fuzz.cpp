// Feeds arbitrary bytes to the pack list parser: it must never crash, read out of bounds or
// accept a record that breaks the format's rules; and an item name that setup would install
// must stay inside its folder and hold nothing that Windows would change or misread.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FilePack.h"
#include "ItemNames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const pelorin::PackList list = pelorin::ParsePackList(text);
  for (const pelorin::PackRecord& record : list.records) {
    if (!pelorin::IsValidItemName(record.name) || record.offset < pelorin::kFirstItemOffset) std::abort();
    if (pelorin::ParseRecord(pelorin::FormatRecord(record))->name != record.name) std::abort();
    if (record.name.starts_with('%') || pelorin::ItemNameProblem(record.name) != nullptr) continue;
    const pelorin::String path = pelorin::ItemPath(record.name);
    if (!pelorin::IsSafeRelativeName(path) || path.find_first_of("/:*?\"<>|") != pelorin::String::npos) std::abort();
    if (record.name.starts_with('$') && path.find('\\') != pelorin::String::npos) std::abort();
    for (const char c : path)
      if (static_cast<unsigned char>(c) < 0x20) std::abort();
  }
  return 0;
}
