#include "Registry_win.h"

#include <windows.h>

namespace pelorin {

namespace {

HKEY RootKey(RegistryRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(root)));
}

class OpenKey {
 public:
  OpenKey(RegistryRoot root, const std::string& subkey) {
    if (RegCreateKeyA(RootKey(root), subkey.c_str(), &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

bool Win32Registry::SetKeyValue(RegistryRoot root, const std::string& subkey,
                                const std::string& name, const std::string& text) {
  OpenKey key(root, subkey);
  return key.Get() != nullptr &&
         RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

void Win32Registry::DeleteKeyValue(RegistryRoot root, const std::string& subkey,
                                   const std::string& name) {
  OpenKey key(root, subkey);
  if (key.Get() != nullptr) RegDeleteValueA(key.Get(), name.c_str());
}

void Win32Registry::DeleteKey(RegistryRoot root, const std::string& subkey) {
  RegDeleteKeyA(RootKey(root), subkey.c_str());
}

void Win32Registry::DeleteEmptyKey(RegistryRoot root, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootKey(root), subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  DWORD subkeys = 0;
  DWORD values = 0;
  const bool empty = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                      nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                     subkeys == 0 && values == 0;
  RegCloseKey(key);
  // Some systems delete a key with all its subkeys: only an empty one is handed over.
  if (empty) RegDeleteKeyA(RootKey(root), subkey.c_str());
}

bool Win32Registry::SetNumberValue(RegistryRoot root, const std::string& subkey,
                                   const std::string& name, std::uint32_t number) {
  OpenKey key(root, subkey);
  const DWORD value = number;
  return key.Get() != nullptr && RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

bool Win32Registry::ReadKeyValue(RegistryRoot root, const std::string& subkey,
                                 const std::string& name, std::string& text, RegistryView view) {
  HKEY key = nullptr;
  // Systems without 32-bit and 64-bit views ignore the flag.
  const REGSAM access = KEY_QUERY_VALUE | (view == RegistryView::k32Bit   ? KEY_WOW64_32KEY
                                           : view == RegistryView::k64Bit ? KEY_WOW64_64KEY
                                                                          : 0);
  if (RegOpenKeyExA(RootKey(root), subkey.c_str(), 0, access, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD size = 0;
  bool found = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
               (type == REG_SZ || type == REG_EXPAND_SZ);
  if (found) {
    std::string bytes(size, '\0');
    found = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(bytes.data()), &size) == ERROR_SUCCESS;
    // The stored value may or may not carry its terminating NUL.
    bytes.resize(found ? size : 0);
    while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    if (found) text = bytes;
  }
  RegCloseKey(key);
  return found;
}

}  // namespace pelorin
