#include "TextInsertion.h"

#include <algorithm>

namespace pelorin {

Insertion InsertAtCaret(std::string_view text, int caret, std::string_view inserted) {
  const std::size_t at = std::clamp<std::size_t>(caret < 0 ? 0 : caret, 0, text.size());
  std::string result;
  result.reserve(text.size() + inserted.size());
  result.append(text.substr(0, at)).append(inserted).append(text.substr(at));
  return {std::move(result), static_cast<int>(at + inserted.size())};
}

}  // namespace pelorin
