#pragma once

#include "Registry.h"

namespace pelorin {

class Win32Registry : public Registry {
 public:
  bool SetKeyValue(RegistryRoot root, const std::string& subkey, std::string_view name,
                   const std::string& text) override;
  void DeleteKeyValue(RegistryRoot root, const std::string& subkey, std::string_view name) override;
  void DeleteKey(RegistryRoot root, const std::string& subkey) override;
  void DeleteEmptyKey(RegistryRoot root, const std::string& subkey) override;
  bool SetNumberValue(RegistryRoot root, const std::string& subkey, std::string_view name,
                      std::uint32_t number) override;
  bool ReadKeyValue(RegistryRoot root, const std::string& subkey, std::string_view name,
                    std::string& text, RegistryView view = RegistryView::kOwn) override;
};

}  // namespace pelorin
