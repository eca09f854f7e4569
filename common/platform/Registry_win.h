#pragma once

#include "Registry.h"

namespace pelorin {

class Win32Registry : public Registry {
 public:
  bool SetKeyValue(RegistryRoot root, const String& subkey, std::string_view name,
                   const String& text) override;
  void DeleteKeyValue(RegistryRoot root, const String& subkey, std::string_view name) override;
  void DeleteKey(RegistryRoot root, const String& subkey) override;
  void DeleteEmptyKey(RegistryRoot root, const String& subkey) override;
  bool SetNumberValue(RegistryRoot root, const String& subkey, std::string_view name,
                      std::uint32_t number) override;
  bool ReadKeyValue(RegistryRoot root, const String& subkey, std::string_view name,
                    String& text, RegistryView view = RegistryView::kOwn) override;
};

}  // namespace pelorin
