#include "ShellFolders_win.h"

#include <windows.h>

#include "WideText_win.h"

namespace pelorin {

String ShellFolderPath(int csidl) {
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  // shfolder.dll forwards to shell32, and serves systems older than shell32's own
  // SHGetFolderPathW too.
  HMODULE shell = LoadLibraryW(L"shfolder.dll");
  if (shell == nullptr) return {};
  const auto get = reinterpret_cast<GetFolderPath>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathW")));
  wchar_t path[MAX_PATH];
  // SHGFP_TYPE_CURRENT: where the folder is now, not where it was by default.
  const bool found = get != nullptr && SUCCEEDED(get(nullptr, csidl, nullptr, 0, path));
  FreeLibrary(shell);
  // A folder whose name has no exact UTF-8 form is not known, rather than another folder.
  String folder = found ? Utf8(path) : "";
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace pelorin
