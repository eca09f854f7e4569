#pragma once

#include <ostream>
#include <string_view>

#include "Str.h"

namespace pelorin {

// Failure messages and GoogleTest's printer show a String as its text.
inline std::ostream& operator<<(std::ostream& out, const String& text) { return out << std::string_view(text); }

}  // namespace pelorin
