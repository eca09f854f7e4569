#include "VersionResource.h"

namespace pelorin {

namespace {

unsigned Word(std::string_view bytes, std::size_t at) {
  return at + 1 < bytes.size()
             ? static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8
             : 0;
}

// Whether UTF-16 `bytes` at `at` hold `ascii` and its terminating zero.
bool KeyAt(std::string_view bytes, std::size_t at, std::string_view ascii) {
  for (std::size_t i = 0; i <= ascii.size(); ++i)
    if (at + i * 2 + 1 >= bytes.size() || Word(bytes, at + i * 2) != (i < ascii.size() ? ascii[i] : 0u)) return false;
  return true;
}

}  // namespace

VersionBlock ParseVersionResource(std::string_view bytes) {
  VersionBlock block;
  // The root: length, value length, type, then its key from byte 6; the fixed part (its
  // signature first) follows at the next 4-byte boundary, byte 40.
  constexpr std::size_t kFixed = 40;
  if (Word(bytes, 0) > bytes.size() || !KeyAt(bytes, 6, "VS_VERSION_INFO")) return block;
  bytes = bytes.substr(0, Word(bytes, 0));
  if (Word(bytes, kFixed) == 0x04BD && Word(bytes, kFixed + 2) == 0xFEEF) {
    block.major = Word(bytes, kFixed + 10);     // dwFileVersionMS, high word
    block.minor = Word(bytes, kFixed + 8);      // dwFileVersionMS, low word
    block.revision = Word(bytes, kFixed + 12);  // dwFileVersionLS, low word
  }
  // A string's key sits 6 bytes into its node, on a 4-byte boundary; its text follows the
  // key at the next boundary.
  constexpr std::string_view kProduct = "ProductName";
  for (std::size_t at = kFixed; at < bytes.size(); at += 2) {
    if (at % 4 != 2 || !KeyAt(bytes, at, kProduct)) continue;
    for (std::size_t c = (at + (kProduct.size() + 1) * 2 + 3) & ~std::size_t{3}; Word(bytes, c) != 0; c += 2)
      block.productName += Word(bytes, c) < 0x80 ? static_cast<char>(Word(bytes, c)) : '?';
    break;
  }
  return block;
}

}  // namespace pelorin
