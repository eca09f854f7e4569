// Feeds arbitrary bytes to the pack list parser: it must never crash, read out of bounds or
// accept a record that breaks the format's rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FilePack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const pelorin::PackList list = pelorin::ParsePackList(text);
  for (const pelorin::PackRecord& record : list.records) {
    if (!pelorin::IsValidItemName(record.name) || record.offset < pelorin::kFirstItemOffset) std::abort();
    if (pelorin::ParseRecord(pelorin::FormatRecord(record))->name != record.name) std::abort();
  }
  return 0;
}
