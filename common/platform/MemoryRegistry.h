#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "Registry.h"

namespace pelorin {

// A registry in memory, for tests: keys map to their named values.
class MemoryRegistry : public Registry {
 public:
  using Values = std::map<std::string, std::string>;
  static constexpr char k32BitView[] = "32-bit view:";

  bool writesFail = false;  // as for a key this account may not write

  bool SetKeyValue(RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& text) override {
    if (writesFail) return false;
    keys_[{root, subkey}][name] = text;
    return true;
  }
  void DeleteKeyValue(RegistryRoot root, const std::string& subkey, const std::string& name) override {
    keys_[{root, subkey}].erase(name);
  }
  void DeleteKey(RegistryRoot root, const std::string& subkey) override {
    keys_.erase({root, subkey});
    numbers_.erase({root, subkey});
  }
  void DeleteEmptyKey(RegistryRoot root, const std::string& subkey) override {
    const Values* values = Key(root, subkey);
    if ((values != nullptr && !values->empty()) || numbers_.count({root, subkey}) != 0) return;
    for (const auto& [key, ignored] : keys_)
      if (key.first == root && key.second.starts_with(subkey + "\\")) return;
    keys_.erase({root, subkey});
  }
  bool SetNumberValue(RegistryRoot root, const std::string& subkey, const std::string& name,
                      std::uint32_t number) override {
    if (writesFail) return false;
    keys_[{root, subkey}];
    numbers_[{root, subkey}][name] = number;
    return true;
  }
  // The 32-bit view is kept apart, as on a 64-bit system: its keys are named with the prefix
  // k32BitView. The own view is the 64-bit one.
  bool ReadKeyValue(RegistryRoot root, const std::string& subkey, const std::string& name,
                    std::string& text, RegistryView view = RegistryView::kOwn) override {
    const Values* values = Key(root, view == RegistryView::k32Bit ? k32BitView + subkey : subkey);
    if (values == nullptr || values->count(name) == 0) return false;
    text = values->at(name);
    return true;
  }

  bool HasKey(RegistryRoot root, const std::string& subkey) const {
    return keys_.count({root, subkey}) != 0;
  }
  const Values* Key(RegistryRoot root, const std::string& subkey) const {
    const auto found = keys_.find({root, subkey});
    return found == keys_.end() ? nullptr : &found->second;
  }
  // The number values of a key; 0 for a value that was never set.
  std::uint32_t Number(RegistryRoot root, const std::string& subkey, const std::string& name) const {
    const auto found = numbers_.find({root, subkey});
    if (found == numbers_.end() || found->second.count(name) == 0) return 0;
    return found->second.at(name);
  }

 private:
  std::map<std::pair<RegistryRoot, std::string>, Values> keys_;
  std::map<std::pair<RegistryRoot, std::string>, std::map<std::string, std::uint32_t>> numbers_;
};

}  // namespace pelorin
