#pragma once

#include <windows.h>

#include <optional>

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
// outline above them. It never takes the focus, so the name box keeps its caret.
class PictureControl : public Window {
 public:
  PictureControl(HWND parent, int id, const Rect& rect, Pixel fill, PictureListener& listener);

  PixelSurface& Pixels() { return surface_.Pixels(); }
  // Shows what was drawn into Pixels().
  void Refresh() { InvalidateRect(Handle(), nullptr, FALSE); }
  void SetMarker(std::optional<Rect> marker);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();

  int id_;
  DibSurface surface_;
  PictureListener& listener_;
  std::optional<Rect> marker_;
  bool leftPressed_ = false;
};

}  // namespace pelorin::win
