#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "Registry.h"

namespace pelorin {

// A registry in memory, for tests: keys map to their named values.
class MemoryRegistry : public Registry {
 public:
  using Values = std::map<std::string, std::string>;
  static constexpr char k32BitView[] = "32-bit view:";

  bool writesFail = false;  // as for a key this account may not write

  bool SetKeyValue(RegistryRoot root, const std::string& subkey, std::string_view name,
                   const std::string& text) override {
    if (writesFail) return false;
    keys_[Id(root, subkey)][std::string(name)] = text;
    return true;
  }
  void DeleteKeyValue(RegistryRoot root, const std::string& subkey, std::string_view name) override {
    keys_[Id(root, subkey)].erase(std::string(name));
  }
  void DeleteKey(RegistryRoot root, const std::string& subkey) override {
    keys_.erase(Id(root, subkey));
    numbers_.erase(Id(root, subkey));
  }
  void DeleteEmptyKey(RegistryRoot root, const std::string& subkey) override {
    const Values* values = Key(root, subkey);
    if ((values != nullptr && !values->empty()) || numbers_.count(Id(root, subkey)) != 0) return;
    for (const auto& [key, ignored] : keys_)
      if (key.first == root && key.second.starts_with(std::string(subkey) + "\\")) return;
    keys_.erase(Id(root, subkey));
  }
  bool SetNumberValue(RegistryRoot root, const std::string& subkey, std::string_view name,
                      std::uint32_t number) override {
    if (writesFail) return false;
    keys_[Id(root, subkey)];
    numbers_[Id(root, subkey)][std::string(name)] = number;
    return true;
  }
  // The 32-bit view is kept apart, as on a 64-bit system: its keys are named with the prefix
  // k32BitView. The own view is the 64-bit one.
  bool ReadKeyValue(RegistryRoot root, const std::string& subkey, std::string_view name,
                    std::string& text, RegistryView view = RegistryView::kOwn) override {
    const Values* values = Key(root, view == RegistryView::k32Bit ? k32BitView + std::string(subkey) : std::string(subkey));
    if (values == nullptr || values->count(std::string(name)) == 0) return false;
    text = values->at(std::string(name));
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
    if (found == numbers_.end() || found->second.count(std::string(name)) == 0) return 0;
    return found->second.at(std::string(name));
  }

 private:
  using KeyId = std::pair<RegistryRoot, std::string>;
  static KeyId Id(RegistryRoot root, std::string_view subkey) { return {root, std::string(subkey)}; }

  std::map<KeyId, Values> keys_;
  std::map<KeyId, std::map<std::string, std::uint32_t>> numbers_;
};

}  // namespace pelorin
