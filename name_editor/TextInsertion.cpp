#include "TextInsertion.h"

#include <algorithm>

#include "Concat.h"

namespace pelorin {

Insertion InsertAtCaret(std::string_view text, int caret, std::string_view inserted) {
  const std::size_t at = std::clamp<std::size_t>(caret < 0 ? 0 : caret, 0, text.size());
  return {Concat({text.substr(0, at), inserted, text.substr(at)}), static_cast<int>(at + inserted.size())};
}

}  // namespace pelorin
