#include "Utf8.h"

namespace pelorin {

bool Utf16FromUtf8(std::string_view utf8, std::u16string& utf16) {
  utf16.clear();
  utf16.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = 0;
    char32_t code = 0, least = 0;
    if (lead < 0x80) length = 1, code = lead;
    else if ((lead & 0xE0) == 0xC0) length = 2, code = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0) length = 3, code = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0) length = 4, code = lead & 0x07, least = 0x10000;
    else return false;
    if (utf8.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code >= 0x10000) {
      code -= 0x10000;
      utf16 += static_cast<char16_t>(0xD800 + (code >> 10));
      utf16 += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      utf16 += static_cast<char16_t>(code);
    }
    i += length;
  }
  return true;
}

bool Utf8FromUtf16(std::u16string_view utf16, std::string& utf8) {
  utf8.clear();
  utf8.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t code = utf16[i];
    if (code >= 0xDC00 && code <= 0xDFFF) return false;
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (i + 1 == utf16.size() || utf16[i + 1] < 0xDC00 || utf16[i + 1] > 0xDFFF) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    }
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | (code >> 6));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (code >> 12));
      utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (code >> 18));
      utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return true;
}

}  // namespace pelorin
