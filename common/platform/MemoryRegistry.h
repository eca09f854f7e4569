#pragma once

#include <cstdint>
#include <map>
#include "Str.h"
#include <string_view>
#include <utility>

#include "Registry.h"

namespace pelorin {

// A registry in memory, for tests: keys map to their named values.
class MemoryRegistry : public Registry {
 public:
  using Values = std::map<String, String>;
  static constexpr char k32BitView[] = "32-bit view:";

  bool writesFail = false;  // as for a key this account may not write

  bool SetKeyValue(RegistryRoot root, const String& subkey, std::string_view name,
                   const String& text) override {
    if (writesFail) return false;
    keys_[Id(root, subkey)][String(name)] = text;
    return true;
  }
  void DeleteKeyValue(RegistryRoot root, const String& subkey, std::string_view name) override {
    keys_[Id(root, subkey)].erase(String(name));
  }
  void DeleteKey(RegistryRoot root, const String& subkey) override {
    keys_.erase(Id(root, subkey));
    numbers_.erase(Id(root, subkey));
  }
  void DeleteEmptyKey(RegistryRoot root, const String& subkey) override {
    const Values* values = Key(root, subkey);
    if ((values != nullptr && !values->empty()) || numbers_.count(Id(root, subkey)) != 0) return;
    for (const auto& [key, ignored] : keys_)
      if (key.first == root && key.second.starts_with(String(subkey) + "\\")) return;
    keys_.erase(Id(root, subkey));
  }
  bool SetNumberValue(RegistryRoot root, const String& subkey, std::string_view name,
                      std::uint32_t number) override {
    if (writesFail) return false;
    keys_[Id(root, subkey)];
    numbers_[Id(root, subkey)][String(name)] = number;
    return true;
  }
  // The 32-bit view is kept apart, as on a 64-bit system: its keys are named with the prefix
  // k32BitView. The own view is the 64-bit one.
  bool ReadKeyValue(RegistryRoot root, const String& subkey, std::string_view name,
                    String& text, RegistryView view = RegistryView::kOwn) override {
    const Values* values = Key(root, view == RegistryView::k32Bit ? k32BitView + String(subkey) : String(subkey));
    if (values == nullptr || values->count(String(name)) == 0) return false;
    text = values->at(String(name));
    return true;
  }

  bool HasKey(RegistryRoot root, std::string_view subkey) const {
    return keys_.count(Id(root, subkey)) != 0;
  }
  const Values* Key(RegistryRoot root, std::string_view subkey) const {
    const auto found = keys_.find(Id(root, subkey));
    return found == keys_.end() ? nullptr : &found->second;
  }
  // The number values of a key; 0 for a value that was never set.
  std::uint32_t Number(RegistryRoot root, std::string_view subkey, std::string_view name) const {
    const auto found = numbers_.find(Id(root, subkey));
    if (found == numbers_.end() || found->second.count(String(name)) == 0) return 0;
    return found->second.at(String(name));
  }

 private:
  using KeyId = std::pair<RegistryRoot, String>;
  static KeyId Id(RegistryRoot root, std::string_view subkey) { return {root, String(subkey)}; }

  std::map<KeyId, Values> keys_;
  std::map<KeyId, std::map<String, std::uint32_t>> numbers_;
};

}  // namespace pelorin
