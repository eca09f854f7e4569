#include "Utf8.h"

namespace pelorin {

namespace {

// The code point of the well-formed sequence that starts at utf8[i], and its length in
// bytes; 0 where none starts there.
std::size_t Decode(std::string_view utf8, std::size_t i, char32_t& code) {
  const unsigned char lead = static_cast<unsigned char>(utf8[i]);
  std::size_t length = 0;
  char32_t least = 0;
  if (lead < 0x80) length = 1, code = lead;
  else if ((lead & 0xE0) == 0xC0) length = 2, code = lead & 0x1F, least = 0x80;
  else if ((lead & 0xF0) == 0xE0) length = 3, code = lead & 0x0F, least = 0x800;
  else if ((lead & 0xF8) == 0xF0) length = 4, code = lead & 0x07, least = 0x10000;
  else return 0;
  if (utf8.size() - i < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

bool IsUtf8(std::string_view utf8) {
  char32_t code = 0;
  for (std::size_t i = 0, length = 0; i < utf8.size(); i += length)
    if ((length = Decode(utf8, i, code)) == 0) return false;
  return true;
}

std::size_t Utf16FromUtf8(std::string_view utf8, char16_t* utf16) {
  char16_t* out = utf16;
  for (std::size_t i = 0, length = 0; i < utf8.size(); i += length) {
    char32_t code = 0;
    if ((length = Decode(utf8, i, code)) == 0) return kNoConversion;
    if (code >= 0x10000) {
      code -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 + (code >> 10));
      code = 0xDC00 + (code & 0x3FF);
    }
    *out++ = static_cast<char16_t>(code);
  }
  return static_cast<std::size_t>(out - utf16);
}

std::size_t Utf8FromUtf16(const char16_t* utf16, std::size_t size, char* utf8) {
  char* out = utf8;
  for (std::size_t i = 0; i < size; ++i) {
    char32_t code = utf16[i];
    if (code >= 0xDC00 && code <= 0xDFFF) return kNoConversion;
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (i + 1 == size || utf16[i + 1] < 0xDC00 || utf16[i + 1] > 0xDFFF) return kNoConversion;
      code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    }
    // The lead byte carries the length; each continuation byte six bits, highest first.
    const int continuation = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    static constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
    *out++ = static_cast<char>(kLead[continuation] | (code >> (6 * continuation)));
    for (int k = continuation - 1; k >= 0; --k) *out++ = static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
  }
  return static_cast<std::size_t>(out - utf8);
}

bool Utf16FromUtf8(std::string_view utf8, std::u16string& utf16) {
  utf16.resize(utf8.size());
  const std::size_t length = Utf16FromUtf8(utf8, utf16.data());
  utf16.resize(length == kNoConversion ? 0 : length);
  return length != kNoConversion;
}

bool Utf8FromUtf16(std::u16string_view utf16, String& utf8) {
  utf8.resize(3 * utf16.size());
  const std::size_t length = Utf8FromUtf16(utf16.data(), utf16.size(), utf8.data());
  utf8.resize(length == kNoConversion ? 0 : length);
  return length != kNoConversion;
}

}  // namespace pelorin
