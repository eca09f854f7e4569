#include "PropertyStore.h"

#include <algorithm>
#include <cctype>

namespace pelorin {

namespace {

bool KeyBefore(const std::pair<String, PropertyValue>& entry, const String& key) { return entry.first < key; }

}  // namespace

String PropertyStore::Folded(std::string_view key) {
  String folded(key);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

std::vector<PropertyStore::Entry>::iterator PropertyStore::Place(const String& folded) {
  return std::lower_bound(values_.begin(), values_.end(), folded, KeyBefore);
}

std::vector<PropertyStore::Entry>::const_iterator PropertyStore::Place(const String& folded) const {
  return std::lower_bound(values_.begin(), values_.end(), folded, KeyBefore);
}

PropertyValue PropertyStore::ReadProperty(std::string_view key, const PropertyValue& defaultValue) const {
  const String folded = Folded(key);
  const auto found = Place(folded);
  return found == values_.end() || found->first != folded ? defaultValue : found->second;
}

void PropertyStore::WriteProperty(std::string_view key, const PropertyValue& value,
                                  const PropertyValue& defaultValue) {
  if (!ValuesEqual(value, defaultValue)) {
    Set(key, value);
    return;
  }
  const String folded = Folded(key);
  const auto found = Place(folded);
  if (found != values_.end() && found->first == folded) values_.erase(found);
}

void PropertyStore::Set(std::string_view key, PropertyValue value) {
  String folded = Folded(key);
  const auto found = Place(folded);
  if (found != values_.end() && found->first == folded) found->second = std::move(value);
  else values_.emplace(found, std::move(folded), std::move(value));
}

bool PropertyStore::Has(std::string_view key) const {
  const String folded = Folded(key);
  const auto found = Place(folded);
  return found != values_.end() && found->first == folded;
}

}  // namespace pelorin
