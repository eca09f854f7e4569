#pragma once

#include <initializer_list>
#include <string_view>

#include "Str.h"

namespace pelorin {

// The parts one after another, in one allocation. A chain of `+` on strings puts a temporary
// and an append call at every step of every caller; messages are built in many places.
String Concat(std::initializer_list<std::string_view> parts);

}  // namespace pelorin
