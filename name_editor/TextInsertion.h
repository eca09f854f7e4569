#pragma once

#include "Str.h"
#include <string_view>

namespace pelorin {

struct Insertion {
  String text;
  int caret;
};

// Inserts `inserted` before character `caret` (0 = start) of `text`. A selection is never
// replaced: its characters follow the inserted ones. The caret ends after the insertion.
Insertion InsertAtCaret(std::string_view text, int caret, std::string_view inserted);

}  // namespace pelorin
