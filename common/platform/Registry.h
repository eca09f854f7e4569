#pragma once

#include <cstdint>
#include "Str.h"
#include <string_view>

namespace pelorin {

// Root keys, as the system numbers them.
enum class RegistryRoot : std::uint32_t {
  kCurrentUser = 0x80000001,
  kLocalMachine = 0x80000002,
};

// Which registry a read looks in on a 64-bit system: the one of this program's own kind, or
// the one that 32-bit programs see (where 32-bit installers such as Steam's record games).
enum class RegistryView { kOwn, k32Bit, k64Bit };

// The registry as the programs use it: string and number values under keys that are created
// on demand. A value write reports whether the value is in place; a refused write leaves no
// entry.
class Registry {
 protected:
  // Never deleted through this type, so no virtual destructor in every implementation.
  ~Registry() = default;

 public:
  virtual bool SetKeyValue(RegistryRoot root, const String& subkey, std::string_view name,
                           const String& text) = 0;
  virtual void DeleteKeyValue(RegistryRoot root, const String& subkey, std::string_view name) = 0;
  virtual void DeleteKey(RegistryRoot root, const String& subkey) = 0;
  // A 32-bit number value (REG_DWORD).
  virtual bool SetNumberValue(RegistryRoot root, const String& subkey, std::string_view name,
                              std::uint32_t number) = 0;
  // Deletes the key only when it holds no values and no subkeys, so nothing of another
  // program goes with it.
  virtual void DeleteEmptyKey(RegistryRoot root, const String& subkey) = 0;
  // A string value; false when the key or value is missing or is no string.
  virtual bool ReadKeyValue(RegistryRoot root, const String& subkey, std::string_view name,
                            String& text, RegistryView view = RegistryView::kOwn) = 0;
};

}  // namespace pelorin
