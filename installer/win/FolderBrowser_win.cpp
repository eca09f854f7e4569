#include "FolderBrowser_win.h"

#include <shlobj.h>

#include "FileSystem.h"
#include "WideText_win.h"

namespace pelorin::win {

String BrowseForInstallFolder(HWND owner) {
  wchar_t name[MAX_PATH] = {};
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.pszDisplayName = name;
  browse.lpszTitle = L"Choose Install Location";
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST items = SHBrowseForFolderW(&browse);
  if (items == nullptr) return {};
  wchar_t path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListW(items, path) != FALSE;
  CoTaskMemFree(items);
  // A folder whose name has no exact UTF-8 form is no choice, rather than another folder.
  String folder;
  if (!found || path[0] == L'\0' || !Utf8FromWide(path, folder)) return {};
  return WithTrailingBackslash(folder);
}

}  // namespace pelorin::win
