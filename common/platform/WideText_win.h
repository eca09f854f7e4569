#pragma once

#include <string>

#include "Str.h"
#include <string_view>

namespace pelorin {

// The programs' UTF-8 text as the system's wide text and back. Text that has no exact
// conversion (not UTF-8, a lone surrogate) gives an empty result and `false`, never a
// neighbouring name.
bool WideFromUtf8(std::string_view utf8, std::wstring& wide);
bool Utf8FromWide(std::wstring_view wide, String& utf8);

// For texts known to be well-formed (literals, the system's own messages); one that is not
// gives an empty text.
std::wstring Wide(std::string_view utf8);
String Utf8(std::wstring_view wide);

}  // namespace pelorin
