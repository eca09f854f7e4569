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

void Win32Registry::SetKeyValue(RegistryRoot root, const std::string& subkey,
                                const std::string& name, const std::string& text) {
  OpenKey key(root, subkey);
  if (key.Get() == nullptr) return;
  RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
}

void Win32Registry::DeleteKeyValue(RegistryRoot root, const std::string& subkey,
                                   const std::string& name) {
  OpenKey key(root, subkey);
  if (key.Get() != nullptr) RegDeleteValueA(key.Get(), name.c_str());
}

void Win32Registry::DeleteKey(RegistryRoot root, const std::string& subkey) {
  RegDeleteKeyA(RootKey(root), subkey.c_str());
}

}  // namespace pelorin
