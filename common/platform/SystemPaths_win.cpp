#include "SystemPaths_win.h"

#include <windows.h>

#include "ShellFolders_win.h"

namespace pelorin {

namespace {

// Calls `get(buffer, size)` with a growing buffer until the answer fits; `get` returns the
// length written, or the size needed when the buffer was too small, or 0 on failure.
template <typename Get>
std::string AskSystem(Get get) {
  std::string text(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = get(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return {};
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length + 1);
  }
  return {};
}

}  // namespace

std::string ProgramPath() {
  return AskSystem([](char* buffer, DWORD size) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer, size);
    // A cut-off name fills the whole buffer: ask again with more room.
    return length >= size ? size * 2 : length;
  });
}

std::string TemporaryFolder() {
  return AskSystem([](char* buffer, DWORD size) { return GetTempPathA(size, buffer); });
}

std::string SystemFolder() {
  return AskSystem([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
}

std::string AppDataFolder() {
  constexpr int kAppData = 0x001A;  // CSIDL_APPDATA
  return ShellFolderPath(kAppData);
}

std::string ShortPathOf(const std::string& path) {
  return AskSystem([&](char* buffer, DWORD size) { return GetShortPathNameA(path.c_str(), buffer, size); });
}

}  // namespace pelorin
