#pragma once

#include <map>
#include <string>
#include <utility>

#include "Registry.h"

namespace pelorin {

// A registry in memory, for tests: keys map to their named values.
class MemoryRegistry : public Registry {
 public:
  using Values = std::map<std::string, std::string>;

  void SetKeyValue(RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& text) override {
    keys_[{root, subkey}][name] = text;
  }
  void DeleteKeyValue(RegistryRoot root, const std::string& subkey, const std::string& name) override {
    keys_[{root, subkey}].erase(name);
  }
  void DeleteKey(RegistryRoot root, const std::string& subkey) override { keys_.erase({root, subkey}); }

  bool HasKey(RegistryRoot root, const std::string& subkey) const {
    return keys_.count({root, subkey}) != 0;
  }
  const Values* Key(RegistryRoot root, const std::string& subkey) const {
    const auto found = keys_.find({root, subkey});
    return found == keys_.end() ? nullptr : &found->second;
  }

 private:
  std::map<std::pair<RegistryRoot, std::string>, Values> keys_;
};

}  // namespace pelorin
