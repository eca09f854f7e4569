#include "Registry_win.h"

#include <windows.h>

#include "WideText_win.h"

namespace pelorin {

namespace {

HKEY RootKey(RegistryRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(root)));
}

class OpenKey {
 public:
  OpenKey(RegistryRoot root, const String& subkey) {
    if (RegCreateKeyW(RootKey(root), Wide(subkey).c_str(), &key_) != ERROR_SUCCESS) key_ = nullptr;
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

bool Win32Registry::SetKeyValue(RegistryRoot root, const String& subkey,
                                std::string_view name, const String& text) {
  OpenKey key(root, subkey);
  // Values hold paths: a text that has no exact wide form is not written at all.
  std::wstring wide;
  return key.Get() != nullptr && WideFromUtf8(text, wide) &&
         RegSetValueExW(key.Get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                        static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void Win32Registry::DeleteKeyValue(RegistryRoot root, const String& subkey,
                                   std::string_view name) {
  OpenKey key(root, subkey);
  if (key.Get() != nullptr) RegDeleteValueW(key.Get(), Wide(name).c_str());
}

void Win32Registry::DeleteKey(RegistryRoot root, const String& subkey) {
  RegDeleteKeyW(RootKey(root), Wide(subkey).c_str());
}

void Win32Registry::DeleteEmptyKey(RegistryRoot root, const String& subkey) {
  HKEY key = nullptr;
  const std::wstring wideKey = Wide(subkey);
  if (RegOpenKeyExW(RootKey(root), wideKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  DWORD subkeys = 0;
  DWORD values = 0;
  const bool empty = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                      nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                     subkeys == 0 && values == 0;
  RegCloseKey(key);
  // Some systems delete a key with all its subkeys: only an empty one is handed over.
  if (empty) RegDeleteKeyW(RootKey(root), wideKey.c_str());
}

bool Win32Registry::SetNumberValue(RegistryRoot root, const String& subkey,
                                   std::string_view name, std::uint32_t number) {
  OpenKey key(root, subkey);
  const DWORD value = number;
  return key.Get() != nullptr && RegSetValueExW(key.Get(), Wide(name).c_str(), 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

bool Win32Registry::ReadKeyValue(RegistryRoot root, const String& subkey,
                                 std::string_view name, String& text, RegistryView view) {
  HKEY key = nullptr;
  // Systems without 32-bit and 64-bit views ignore the flag.
  const REGSAM access = KEY_QUERY_VALUE | (view == RegistryView::k32Bit   ? KEY_WOW64_32KEY
                                           : view == RegistryView::k64Bit ? KEY_WOW64_64KEY
                                                                          : 0);
  if (RegOpenKeyExW(RootKey(root), Wide(subkey).c_str(), 0, access, &key) != ERROR_SUCCESS) return false;
  const std::wstring valueName = Wide(name);
  DWORD type = 0;
  DWORD size = 0;
  bool found = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
               (type == REG_SZ || type == REG_EXPAND_SZ);
  if (found) {
    std::wstring wide(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    found = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(wide.data()), &got) ==
            ERROR_SUCCESS;
    // The stored value may or may not carry its terminating NUL.
    std::size_t length = found ? got / sizeof(wchar_t) : 0;
    while (length > 0 && wide[length - 1] == L'\0') --length;
    // A value that has no exact UTF-8 form names no path here.
    String utf8;
    found = found && Utf8FromWide(std::wstring_view(wide.data(), length), utf8);
    if (found) text = utf8;
  }
  RegCloseKey(key);
  return found;
}

}  // namespace pelorin
