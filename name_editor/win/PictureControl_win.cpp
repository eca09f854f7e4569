#include "PictureControl_win.h"

#include <windowsx.h>

#include "Dpi_win.h"
#include "NameColours.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinPicture";

int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

}  // namespace

PictureControl::PictureControl(HWND parent, int id, const Rect& rect, Pixel fill,
                               PictureListener& listener)
    : id_(id), rect_(rect), surface_(rect.width, rect.height, fill), listener_(listener) {
  RegisterWindowClass(kClassName);
  Create(0, kClassName, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.width, rect.height,
         parent, id);
}

void PictureControl::SetScale(int scale) {
  scale_ = scale;
  const Rect at = Scaled(rect_, scale);
  SetWindowPos(Handle(), nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
  Refresh();
}

void PictureControl::SetItemName(const String& name) {
  SetWindowTextA(Handle(), name.c_str());
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
  if (GetFocus() == Handle()) NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void PictureControl::SetMarker(const Rect& marker) {
  const bool same = hasMarker_ && marker.left == marker_.left && marker.top == marker_.top;
  marker_ = marker;
  hasMarker_ = true;
  if (!same) Refresh();
}

// The focus doubles the marker's yellow line (or draws one round a control without a marker)
// and lines it with black inside, which shows on every colour of the palette.
void PictureControl::Paint() {
  PaintContext paint(Handle());
  surface_.Blit(paint.Dc(), 0, 0, scale_);
  const bool focused = GetFocus() == Handle();
  if (!hasMarker_ && !focused) return;
  const Rect box = Scaled(hasMarker_ ? marker_ : Rect{0, 0, rect_.width, rect_.height}, scale_);
  RECT ring{box.left, box.top, box.left + box.width, box.top + box.height};
  const int line = focused ? 2 * scale_ : scale_;
  FrameBox(paint.Dc(), ring, line, ColorRefFromPixel(kYellow));
  if (!focused) return;
  InflateRect(&ring, -line, -line);
  FrameBox(paint.Dc(), ring, scale_, RGB(0, 0, 0));
}

LRESULT PictureControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = FloorDiv(GET_X_LPARAM(lParam), scale_);
  const int y = FloorDiv(GET_Y_LPARAM(lParam), scale_);
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Refresh();
      return 0;
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
      const bool click = button == 1 && leftPressed_ && x >= 0 && y >= 0 && x < rect_.width && y < rect_.height;
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
