#include "FindGameDialog_win.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "Concat.h"
#include "GameEditions.h"
#include "GameFolder.h"
#include "WideText_win.h"
#include "resource.h"

namespace pelorin::win {

namespace {

constexpr char kValid[] = "Valid Quake 3 Directory !!";
constexpr const char* kNotValid = "Not a valid Quake 3 Directory...";
constexpr char kAccept[] = "&Accept";
constexpr char kCancel[] = "&Cancel";
constexpr wchar_t kParentEntry[] = L"[..]";

bool IsDriveRoot(const String& folder) { return folder.size() <= 3; }

String ParentOf(const String& folder) {
  const std::size_t slash = folder.rfind('\\');
  if (slash == String::npos) return folder;
  return folder.substr(0, slash <= 2 ? 3 : slash);
}

String Join(std::string_view folder, std::string_view name) {
  return Concat({folder, folder.ends_with('\\') ? "" : "\\", name});
}

}  // namespace

String FindGameDialog::Run(HWND owner) {
  RunModal(IDD_FIND_GAME, owner);
  return accepted_;
}

void FindGameDialog::OnInit() {
  SetClientTwips(4680, 3735);
  PlaceTwips(IDC_DRIVES, 120, 120, 4455, 315);
  PlaceTwips(IDC_FOLDERS, 120, 480, 4455, 2340);
  PlaceTwips(IDC_STATUS, 120, 2880, 4455, 255);
  PlaceTwips(IDC_FIND_BUTTON, 3720, 3240, 855, 375);

  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  FillDrives();
  String start = Utf8(current);
  if (!IsGameFolder(files_, start)) {
    if (String edition = FindInstalledEdition(registry_, files_); !edition.empty()) start = edition;
  }
  ChangeFolder(start);
  if (valid_) OnButton();
}

void FindGameDialog::FillDrives() {
  HWND drives = Item(IDC_DRIVES);
  wchar_t letters[512] = {};
  GetLogicalDriveStringsW(512, letters);
  for (const wchar_t* root = letters; *root != L'\0'; root += lstrlenW(root) + 1) {
    if (*root >= 0x80) continue;
    const char entry[3] = {static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))), ':', '\0'};
    SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }
}

void FindGameDialog::ChangeFolder(const String& folder) {
  std::vector<String> subfolders;
  if (files_.ListFolders(folder, subfolders)) return;  // unreadable: stay where we are
  folder_ = folder;
  // The entries "[name]" back to back, each ending in two zeros: the first ends the bare name
  // while the names are sorted and becomes the closing bracket after.
  std::wstring entries;
  std::vector<std::size_t> starts(subfolders.size());
  for (std::size_t i = 0; i < subfolders.size(); ++i) {
    starts[i] = entries.size();
    entries += L'[';
    entries += Wide(subfolders[i]);
    entries.append(2, L'\0');
  }
  // A shell sort, in the order the user's locale gives names regardless of case: a folder may
  // hold thousands.
  const wchar_t* text = entries.c_str();
  const std::size_t count = starts.size();
  for (std::size_t gap = count / 2; gap > 0; gap = gap == 2 ? 1 : gap * 5 / 11)
    for (std::size_t i = gap; i < count; ++i)
      for (std::size_t j = i; j >= gap && lstrcmpiW(text + starts[j] + 1, text + starts[j - gap] + 1) < 0; j -= gap)
        std::swap(starts[j], starts[j - gap]);

  HWND list = Item(IDC_FOLDERS);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  if (!IsDriveRoot(folder_)) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kParentEntry));
  for (const std::size_t start : starts) {
    wchar_t* entry = entries.data() + start;
    entry[lstrlenW(entry)] = L']';
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);

  HWND drives = Item(IDC_DRIVES);
  const char drive[3] = {folder_.empty() ? 'c' : folder_[0], ':', '\0'};
  const LRESULT index = SendMessageA(drives, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(drive));
  if (index != CB_ERR) SendMessageA(drives, CB_SETCURSEL, index, 0);

  valid_ = IsGameFolder(files_, folder_);
  SetDlgItemTextA(Handle(), IDC_STATUS, valid_ ? kValid : kNotValid);
  SetDlgItemTextA(Handle(), IDC_FIND_BUTTON, valid_ ? kAccept : kCancel);
  InvalidateRect(Item(IDC_STATUS), nullptr, TRUE);
}

void FindGameDialog::OpenSelectedFolder() {
  HWND list = Item(IDC_FOLDERS);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  wchar_t entry[MAX_PATH + 3] = {};
  if (SendMessageW(list, LB_GETTEXTLEN, index, 0) > MAX_PATH) return;
  SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(entry));
  const std::wstring_view text = entry;
  if (text.size() < 2) return;
  if (text == kParentEntry) ChangeFolder(ParentOf(folder_));
  else ChangeFolder(Join(folder_, Utf8(text.substr(1, text.size() - 2))));
}

void FindGameDialog::ChangeDrive() {
  HWND drives = Item(IDC_DRIVES);
  const LRESULT index = SendMessageA(drives, CB_GETCURSEL, 0, 0);
  char drive[8] = {};
  if (index == CB_ERR || SendMessageA(drives, CB_GETLBTEXTLEN, index, 0) >= 7) return;
  SendMessageA(drives, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(drive));
  // The drive's own current folder, as the system keeps one for each drive.
  wchar_t full[MAX_PATH] = {};
  if (GetFullPathNameW(Wide(drive).c_str(), MAX_PATH, full, nullptr) == 0) return;
  ChangeFolder(Utf8(full));  // a drive that is not ready leaves the dialog where it was
}

void FindGameDialog::OnButton() {
  char caption[32] = {};
  GetDlgItemTextA(Handle(), IDC_FIND_BUTTON, caption, sizeof(caption));
  if (lstrcmpA(caption, kAccept) == 0) accepted_ = folder_;
  End(IDOK);
}

void FindGameDialog::OnCommand(int id, int notification) {
  switch (id) {
    case IDC_FOLDERS:
      if (notification == LBN_DBLCLK) OpenSelectedFolder();
      break;
    case IDC_DRIVES:
      if (notification == CBN_SELCHANGE) ChangeDrive();
      break;
    case IDC_FIND_BUTTON:
      OnButton();
      break;
    case IDOK:  // Enter opens the folder chosen in the list
      if (GetFocus() == Item(IDC_FOLDERS)) OpenSelectedFolder();
      else if (GetFocus() == Item(IDC_FIND_BUTTON)) OnButton();
      break;
    case IDCANCEL:
      End(IDCANCEL);
      break;
    default:
      break;
  }
}

bool FindGameDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (message != WM_CTLCOLORSTATIC || reinterpret_cast<HWND>(lParam) != Item(IDC_STATUS)) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, GetSysColor(valid_ ? COLOR_HIGHLIGHT : COLOR_BTNTEXT));
  SetBkMode(dc, TRANSPARENT);
  result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

}  // namespace pelorin::win
