#pragma once

#include <optional>
#include "Str.h"
#include <string_view>
#include <utility>
#include <vector>

#include "ButtonValues.h"

namespace pelorin {

// The host's store of a control's properties: keys compare without regard to case, values
// are typed, and a value written equal to its default is not kept.
class PropertyStore {
 public:
  PropertyValue ReadProperty(std::string_view key, const PropertyValue& defaultValue) const;
  void WriteProperty(std::string_view key, const PropertyValue& value, const PropertyValue& defaultValue);

  // Stores a value as it stands (loading stored data).
  void Set(std::string_view key, PropertyValue value);
  bool Has(std::string_view key) const;
  std::size_t Size() const { return values_.size(); }

 private:
  using Entry = std::pair<String, PropertyValue>;
  static String Folded(std::string_view key);
  // Where the folded key is, or would go.
  std::vector<Entry>::iterator Place(const String& folded);
  std::vector<Entry>::const_iterator Place(const String& folded) const;

  std::vector<Entry> values_;  // sorted by folded key; a button keeps only a few
};

}  // namespace pelorin
