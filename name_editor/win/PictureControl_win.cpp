#include "PictureControl_win.h"

#include <windowsx.h>

#include "NameColours.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinPicture";

}  // namespace

PictureControl::PictureControl(HWND parent, int id, const Rect& rect, Pixel fill,
                               PictureListener& listener)
    : id_(id), surface_(rect.width, rect.height, fill), listener_(listener) {
  RegisterWindowClass(kClassName);
  Create(0, kClassName, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.width, rect.height,
         parent, id);
}

void PictureControl::SetMarker(std::optional<Rect> marker) {
  const bool same = marker.has_value() == marker_.has_value() &&
                    (!marker || (marker->left == marker_->left && marker->top == marker_->top));
  marker_ = marker;
  if (!same) Refresh();
}

void PictureControl::Paint() {
  PaintContext paint(Handle());
  surface_.Blit(paint.Dc(), 0, 0);
  if (!marker_) return;
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColorRefFromPixel(kYellow)));
  Selection penSelection(paint.Dc(), pen.Get());
  Selection brushSelection(paint.Dc(), GetStockObject(NULL_BRUSH));
  Rectangle(paint.Dc(), marker_->left, marker_->top, marker_->left + marker_->width,
            marker_->top + marker_->height);
}

LRESULT PictureControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      listener_.OnPictureMouseMove(id_, x, y);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      leftPressed_ = leftPressed_ || message == WM_LBUTTONDOWN;
      SetCapture(Handle());
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) ReleaseCapture();
      const int button = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
      RECT client;
      GetClientRect(Handle(), &client);
      const POINT point{x, y};
      const bool click = button == 1 && leftPressed_ && PtInRect(&client, point);
      if (button == 1) leftPressed_ = false;
      listener_.OnPictureButtonUp(id_, button, x, y);
      if (click) listener_.OnPictureClick(id_);
      return 0;
    }
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

}  // namespace pelorin::win
