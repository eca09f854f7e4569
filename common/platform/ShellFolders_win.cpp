#include "ShellFolders_win.h"

#include <windows.h>

namespace pelorin {

std::string ShellFolderPath(int csidl) {
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  // shfolder.dll forwards to shell32, and serves systems older than shell32's own
  // SHGetFolderPathA too.
  HMODULE shell = LoadLibraryA("shfolder.dll");
  if (shell == nullptr) return {};
  const auto get = reinterpret_cast<GetFolderPath>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
  char path[MAX_PATH] = {};
  // SHGFP_TYPE_CURRENT: where the folder is now, not where it was by default.
  const bool found = get != nullptr && SUCCEEDED(get(nullptr, csidl, nullptr, 0, path));
  FreeLibrary(shell);
  std::string folder = found ? path : "";
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace pelorin
