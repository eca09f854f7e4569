#pragma once

#include <windows.h>

#include "Str.h"

#include "DibSurface_win.h"
#include "EditorLayout.h"
#include "Window_win.h"

namespace pelorin::win {

// What a picture control reports to its owner. Positions are pixels within the control;
// while a button is held the control keeps the mouse, so they may lie outside it.
class PictureListener {
 public:
  virtual void OnPictureMouseMove(int id, int x, int y) = 0;
  virtual void OnPictureButtonUp(int id, int button, int x, int y) = 0;
  // A left press and release both inside the control.
  virtual void OnPictureClick(int id) = 0;

 protected:
  ~PictureListener() = default;
};

// A borderless picture box that keeps its pixels and shows an optional yellow marker
// outline above them, all drawn at a whole factor. A click leaves the focus where it is, so
// the name box keeps its caret; the keyboard gives it the focus, which it shows.
class PictureControl : public Window {
 public:
  PictureControl(HWND parent, int id, const Rect& rect, Pixel fill, PictureListener& listener);

  // Lays the control out at `scale` times its rectangle.
  void SetScale(int scale);
  // Names the focused item for screen readers, as the control's text.
  void SetItemName(const String& name);

  PixelSurface& Pixels() { return surface_.Pixels(); }
  // Shows what was drawn into Pixels().
  void Refresh() { InvalidateRect(Handle(), nullptr, FALSE); }
  void SetMarker(const Rect& marker);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();

  int id_;
  Rect rect_;
  int scale_ = 1;
  DibSurface surface_;
  PictureListener& listener_;
  Rect marker_{};
  bool hasMarker_ = false;
  bool leftPressed_ = false;
};

}  // namespace pelorin::win
