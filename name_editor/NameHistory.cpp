#include "NameHistory.h"

#include <algorithm>

namespace pelorin {

void NameHistory::AddName(std::string_view name) {
  const auto searched = names_.begin() + std::min<std::size_t>(names_.size(), kRows);
  const auto match = std::find(names_.begin(), searched, name);
  if (match != searched) {
    names_.erase(match);
  } else if (names_.size() >= kRows) {
    names_.pop_back();
  }
  names_.insert(names_.begin(), std::string(name));
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
