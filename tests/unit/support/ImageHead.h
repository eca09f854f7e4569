#pragma once

#include <cstdint>
#include "Str.h"

namespace pelorin::testing {

// The headers of a program image, as far as they name the certificate table: DOS header,
// PE signature, file header and an optional header with `directories` data directories, the
// security one (the fifth) set to `tableStart` and `tableSize`.
inline String ImageHead(std::uint32_t tableStart, std::uint32_t tableSize, bool pe32Plus = false,
                             std::uint32_t directories = 16) {
  const auto put = [](String& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
  };
  const std::size_t pe = 0x80, optional = pe + 24, first = optional + (pe32Plus ? 112 : 96);
  String head(first + 16 * 8, '\0');
  head[0] = 'M';
  head[1] = 'Z';
  put(head, 0x3C, pe, 4);
  put(head, pe, 0x4550, 4);
  put(head, pe + 20, static_cast<std::uint32_t>(head.size() - optional), 2);
  put(head, optional, pe32Plus ? 0x20B : 0x10B, 2);
  put(head, first - 4, directories, 4);
  put(head, first + 4 * 8, tableStart, 4);
  put(head, first + 4 * 8 + 4, tableSize, 4);
  return head;
}

}  // namespace pelorin::testing
