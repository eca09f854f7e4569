#include "Dialog_win.h"

namespace pelorin::win {

namespace {

constexpr int kTwipsPerPixel = 15;

}  // namespace

INT_PTR Dialog::RunModal(int templateId, HWND owner) {
  // Wide, so that the dialogs' lists and edit boxes keep paths in any script.
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                         Procedure, reinterpret_cast<LPARAM>(this));
}

void Dialog::PlaceTwips(int id, int left, int top, int width, int height) {
  SetWindowPos(Item(id), nullptr, left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
               height / kTwipsPerPixel, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void Dialog::SetClientTwips(int width, int height) {
  RECT rect{0, 0, width / kTwipsPerPixel, height / kTwipsPerPixel};
  AdjustWindowRectEx(&rect, GetWindowLongA(hwnd_, GWL_STYLE), FALSE, GetWindowLongA(hwnd_, GWL_EXSTYLE));
  SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER);
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<Dialog*>(lParam);
    dialog->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    dialog->OnInit();
    return TRUE;
  }
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  if (message == WM_COMMAND) {
    dialog->OnCommand(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
  INT_PTR result = 0;
  if (!dialog->OnMessage(message, wParam, lParam, result)) return FALSE;
  return result;
}

}  // namespace pelorin::win
