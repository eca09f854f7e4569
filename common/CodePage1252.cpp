#include "CodePage1252.h"

#include "Utf8.h"

namespace pelorin {

namespace {

// The characters of bytes 0x80 to 0x9F; the rest are the same as their byte.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

bool CodePage1252::FromUtf8(std::string_view utf8, String& bytes) const {
  bytes.clear();
  std::u16string text;
  if (!Utf16FromUtf8(utf8, text)) return false;
  for (const char16_t c : text) {
    int byte = c < 0x80 || (c >= 0xA0 && c <= 0xFF) ? c : -1;
    for (int i = 0; i < 32 && byte < 0; ++i)
      if (kHigh[i] == c) byte = 0x80 + i;
    if (byte < 0) {
      bytes.clear();
      return false;
    }
    bytes += static_cast<char>(byte);
  }
  return true;
}

bool CodePage1252::ToUtf8(std::string_view bytes, String& utf8) const {
  std::u16string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
  }
  return Utf8FromUtf16(text, utf8);
}

}  // namespace pelorin
