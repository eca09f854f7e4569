#include "FolderBrowser_win.h"

#include <shlobj.h>

#include "FileSystem.h"

namespace pelorin::win {

std::string BrowseForInstallFolder(HWND owner) {
  char name[MAX_PATH] = {};
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.pszDisplayName = name;
  browse.lpszTitle = "Choose Install Location";
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST items = SHBrowseForFolderA(&browse);
  if (items == nullptr) return {};
  char path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListA(items, path) != FALSE;
  CoTaskMemFree(items);
  if (!found || path[0] == '\0') return {};
  return WithTrailingBackslash(path);
}

}  // namespace pelorin::win
