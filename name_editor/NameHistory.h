#pragma once

#include "Str.h"
#include <string_view>
#include <vector>

namespace pelorin {

// The names saved last, most recent first. Names compare byte for byte.
class NameHistory {
 public:
  static constexpr int kRows = 4;

  // Records a saved name at the top; an earlier copy among the first four goes, and a full
  // history drops its oldest name.
  void AddName(std::string_view name);

  // Appends without reordering (restoring a stored history).
  void Append(String name) { names_.push_back(std::move(name)); }

  // Removes entry `index`; an index that names no entry changes nothing.
  bool Remove(int index);

  // Entry `index`, or the empty string where there is none.
  std::string_view Entry(int index) const;
  int Count() const { return static_cast<int>(names_.size()); }
  bool Empty() const { return names_.empty(); }
  const std::vector<String>& Names() const { return names_; }
  // Hands the names over and leaves the history empty (keeping them when the program closes).
  std::vector<String> TakeNames() { return std::move(names_); }

 private:
  std::vector<String> names_;
};

}  // namespace pelorin
