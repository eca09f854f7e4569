#include "NameHistory.h"


namespace pelorin {

void NameHistory::AddName(std::string_view name) {
  // The entry that makes room: an earlier copy among the first rows, else a new last row, or
  // the oldest name of a full history. The names above it move down one row over it, and the
  // top row takes the name.
  std::size_t at = 0;
  while (at < names_.size() && at < kRows && names_[at] != name) ++at;
  if (at == names_.size() && at < kRows) names_.emplace_back();
  else if (at == names_.size() || at == kRows) at = names_.size() - 1;
  for (; at > 0; --at) names_[at] = std::move(names_[at - 1]);
  names_[0] = name;
}

bool NameHistory::Remove(int index) {
  if (index < 0 || index >= Count()) return false;
  names_.erase(names_.begin() + index);
  return true;
}

std::string_view NameHistory::Entry(int index) const {
  if (index < 0 || index >= Count()) return {};
  return names_[index];
}

}  // namespace pelorin
