#include "ModChooserDialog_win.h"

#include <windowsx.h>

#include <vector>

#include "GameFolder.h"
#include "SaveUi_win.h"
#include "WideText_win.h"
#include "resource.h"

namespace pelorin::win {

namespace {

constexpr int kRowHeight = 16;

bool IsChecked(HWND list, int index) { return SendMessageA(list, LB_GETITEMDATA, index, 0) == 1; }

}  // namespace

bool ModChooserDialog::Run(HWND owner) {
  RunModal(IDD_CHOOSE_MODS, owner);
  return saved_;
}

void ModChooserDialog::OnInit() {
  SetClientTwips(3615, 3735);
  PlaceTwips(IDC_MODS, 120, 120, 3375, 2985);
  PlaceTwips(IDC_SAVE_MODS, 1680, 3240, 855, 375);
  PlaceTwips(IDC_CANCEL_MODS, 2640, 3240, 855, 375);

  HWND list = Item(IDC_MODS);
  // Subclassed by hand: comctl32's helpers would make every start of the editor load it.
  // Wide throughout: an ANSI procedure in between would turn the mods' names into the ANSI
  // code page.
  SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  listProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProcedure)));
  std::vector<String> mods;
  ModsInBothPlaces(services_.files, state_.gameFolder, state_.homePath, mods);
  for (const String& mod : mods) {
    const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(mod).c_str()));
    SendMessageA(list, LB_SETITEMDATA, index, 0);
  }
}

void ModChooserDialog::Toggle(int index) {
  HWND list = Item(IDC_MODS);
  if (index < 0 || index >= SendMessageA(list, LB_GETCOUNT, 0, 0)) return;
  SendMessageA(list, LB_SETITEMDATA, index, IsChecked(list, index) ? 0 : 1);
  RECT row;
  SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&row));
  InvalidateRect(list, &row, TRUE);
}

void ModChooserDialog::Save() {
  HWND list = Item(IDC_MODS);
  std::vector<String> checked;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (!IsChecked(list, i)) continue;
    std::wstring text(SendMessageW(list, LB_GETTEXTLEN, i, 0), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    checked.push_back(Utf8(text.c_str()));
  }
  // Messages and the locator belong to this dialog, which then takes no input either.
  WindowSaveUi ui(services_, Handle());
  if (SaveToChosenMods(services_.files, services_.processes, ui, state_, name_, checked) != SaveOutcome::kSaved)
    return;
  saved_ = true;
  End(IDOK);
}

void ModChooserDialog::OnCommand(int id, int) {
  switch (id) {
    case IDC_SAVE_MODS:
    case IDOK:
      Save();
      break;
    case IDC_CANCEL_MODS:
    case IDCANCEL:
      End(IDCANCEL);
      break;
    default:
      break;
  }
}

bool ModChooserDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
  if (message == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
    result = TRUE;
    return true;
  }
  if (message != WM_DRAWITEM) return false;
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item->itemID == static_cast<UINT>(-1)) return true;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  RECT box{item->rcItem.left + 2, item->rcItem.top + 2, item->rcItem.left + 2 + kRowHeight - 4,
           item->rcItem.bottom - 2};
  DrawFrameControl(item->hDC, &box, DFC_BUTTON,
                   DFCS_BUTTONCHECK | (IsChecked(item->hwndItem, item->itemID) ? DFCS_CHECKED : 0));
  wchar_t text[MAX_PATH] = {};
  if (SendMessageW(item->hwndItem, LB_GETTEXTLEN, item->itemID, 0) < MAX_PATH)
    SendMessageW(item->hwndItem, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT label = item->rcItem;
  label.left += kRowHeight + 2;
  DrawTextW(item->hDC, text, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &item->rcItem);
  result = TRUE;
  return true;
}

// A click on a row or the space bar toggles that row's check mark.
LRESULT CALLBACK ModChooserDialog::ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* dialog = reinterpret_cast<ModChooserDialog*>(GetWindowLongPtrW(list, GWLP_USERDATA));
  const WNDPROC original = dialog->listProcedure_;
  if (message == WM_LBUTTONDOWN) {
    const LRESULT result = CallWindowProcW(original, list, message, wParam, lParam);
    const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam);
    if (HIWORD(hit) == 0) dialog->Toggle(LOWORD(hit));
    return result;
  }
  if (message == WM_KEYDOWN && wParam == VK_SPACE) {
    dialog->Toggle(static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
    return 0;
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  return CallWindowProcW(original, list, message, wParam, lParam);
}

}  // namespace pelorin::win
