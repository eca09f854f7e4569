#include "PropertyStore.h"

#include <cctype>

namespace pelorin {

std::string PropertyStore::Folded(std::string_view key) {
  std::string folded(key);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

PropertyValue PropertyStore::ReadProperty(std::string_view key, const PropertyValue& defaultValue) const {
  const auto found = values_.find(Folded(key));
  return found == values_.end() ? defaultValue : found->second;
}

void PropertyStore::WriteProperty(std::string_view key, const PropertyValue& value,
                                  const PropertyValue& defaultValue) {
  if (ValuesEqual(value, defaultValue)) values_.erase(Folded(key));
  else values_[Folded(key)] = value;
}

void PropertyStore::Set(std::string_view key, PropertyValue value) { values_[Folded(key)] = std::move(value); }

bool PropertyStore::Has(std::string_view key) const { return values_.count(Folded(key)) != 0; }

}  // namespace pelorin
