#include "SystemPaths_win.h"

#include <windows.h>

#include "ShellFolders_win.h"
#include "WideText_win.h"

namespace pelorin {

namespace {

// Calls `get(buffer, size, context)` with a growing buffer until the answer fits; `get`
// returns the length written, or the size needed when the buffer was too small, or 0 on
// failure. A path that has no exact UTF-8 form gives an empty answer.
using Get = DWORD (*)(wchar_t* buffer, DWORD size, const void* context);

String AskSystem(Get get, const void* context = nullptr) {
  std::wstring text(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = get(text.data(), static_cast<DWORD>(text.size()), context);
    if (length == 0) return {};
    if (length < text.size()) return Utf8(std::wstring_view(text.data(), length));
    text.resize(length + 1);
  }
  return {};
}

}  // namespace

String ProgramPath() {
  return AskSystem([](wchar_t* buffer, DWORD size, const void*) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
    // A cut-off name fills the whole buffer: ask again with more room.
    return length >= size ? size * 2 : length;
  });
}

String TemporaryFolder() {
  // Looked up, since older systems lack it: for SYSTEM it gives SYSTEM's own folder, not the
  // Windows one where every user may add files.
  using GetTempPath2 = DWORD(WINAPI*)(DWORD, LPWSTR);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto get = kernel == nullptr ? nullptr
                                     : reinterpret_cast<GetTempPath2>(
                                           reinterpret_cast<void*>(GetProcAddress(kernel, "GetTempPath2W")));
  // Without the newer call, the older one answers.
  String folder = AskSystem(
      [](wchar_t* buffer, DWORD size, const void* newer) {
        return newer != nullptr ? reinterpret_cast<GetTempPath2>(const_cast<void*>(newer))(size, buffer) : 0;
      },
      reinterpret_cast<const void*>(get));
  if (!folder.empty()) return folder;
  return AskSystem([](wchar_t* buffer, DWORD size, const void*) { return GetTempPathW(size, buffer); });
}

String SystemFolder() {
  return AskSystem([](wchar_t* buffer, DWORD size, const void*) -> DWORD { return GetSystemDirectoryW(buffer, size); });
}

String AppDataFolder() {
  constexpr int kAppData = 0x001A;  // CSIDL_APPDATA
  return ShellFolderPath(kAppData);
}

String ShortPathOf(const String& path) {
  const std::wstring wide = Wide(path);
  return AskSystem(
      [](wchar_t* buffer, DWORD size, const void* longPath) {
        return GetShortPathNameW(static_cast<const wchar_t*>(longPath), buffer, size);
      },
      wide.c_str());
}

}  // namespace pelorin
