#pragma once

#include <string>
#include <string_view>

namespace pelorin {

// Paths and texts are UTF-8 inside the programs and UTF-16 at the system's wide calls. Both
// conversions are strict: a byte sequence that is not well-formed UTF-8 (overlong, a surrogate,
// beyond U+10FFFF, cut short) or a lone surrogate has no conversion, so that a name read from
// the system never turns into another name on its way back.
bool Utf16FromUtf8(std::string_view utf8, std::u16string& utf16);
bool Utf8FromUtf16(std::u16string_view utf16, std::string& utf8);

}  // namespace pelorin
