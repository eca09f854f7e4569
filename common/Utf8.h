#pragma once

#include <cstddef>
#include <string>

#include "Str.h"
#include <string_view>

namespace pelorin {

// Paths and texts are UTF-8 inside the programs and UTF-16 at the system's wide calls. Both
// conversions are strict: a byte sequence that is not well-formed UTF-8 (overlong, a surrogate,
// beyond U+10FFFF, cut short) or a lone surrogate has no conversion, so that a name read from
// the system never turns into another name on its way back.
bool Utf16FromUtf8(std::string_view utf8, std::u16string& utf16);
bool Utf8FromUtf16(std::u16string_view utf16, String& utf8);
// Whether the bytes are well-formed UTF-8 by the same rules.
bool IsUtf8(std::string_view utf8);

// The conversions into a buffer the caller sized: `utf16` holds at least utf8.size() units,
// `utf8` at least 3 * size bytes. They give the length written, or kNoConversion. The
// system's wide strings use these directly, with no copy between string types.
constexpr std::size_t kNoConversion = static_cast<std::size_t>(-1);
std::size_t Utf16FromUtf8(std::string_view utf8, char16_t* utf16);
std::size_t Utf8FromUtf16(const char16_t* utf16, std::size_t size, char* utf8);

}  // namespace pelorin
