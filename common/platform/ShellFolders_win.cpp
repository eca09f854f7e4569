#include "ShellFolders_win.h"

#include <windows.h>

namespace pelorin {

std::string ShellFolderPath(int csidl) {
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  HMODULE shell = LoadLibraryA("shell32.dll");
  if (shell == nullptr) return {};
  const auto get = reinterpret_cast<GetFolderPath>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
  char path[MAX_PATH] = {};
  // SHGFP_TYPE_CURRENT: where the folder is now, not where it was by default.
  const bool found = get != nullptr && get(nullptr, csidl, nullptr, 0, path) == S_OK;
  FreeLibrary(shell);
  std::string folder = found ? path : "";
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace pelorin
