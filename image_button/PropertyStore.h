#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

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
  static std::string Folded(std::string_view key);
  std::map<std::string, PropertyValue> values_;
};

}  // namespace pelorin
