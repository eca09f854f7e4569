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
  // Looked up, since older systems lack it: for SYSTEM it gives SYSTEM's own folder, not the
  // Windows one where every user may add files.
  using GetTempPath2 = DWORD(WINAPI*)(DWORD, LPWSTR);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto get = kernel == nullptr ? nullptr
                                     : reinterpret_cast<GetTempPath2>(
                                           reinterpret_cast<void*>(GetProcAddress(kernel, "GetTempPath2W")));
  if (get != nullptr) {
    wchar_t wide[MAX_PATH + 1];
    const DWORD length = get(MAX_PATH + 1, wide);
    char narrow[4 * MAX_PATH];
    BOOL lossy = FALSE;
    // A name the code page cannot hold exactly would name another folder: the old call then.
    const int size = length == 0 || length > MAX_PATH
                         ? 0
                         : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(length), narrow,
                                               sizeof(narrow), nullptr, &lossy);
    if (size > 0 && !lossy) return std::string(narrow, static_cast<std::size_t>(size));
  }
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
