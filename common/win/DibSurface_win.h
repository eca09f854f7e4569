#pragma once

#include <windows.h>

#include "GdiObject_win.h"
#include "Pixels.h"

namespace pelorin::win {

// A persistent off-screen picture: 32-bit pixels that portable code draws into, shown on
// screen with a plain source copy, each pixel as a `scale` x `scale` block.
class DibSurface {
 public:
  DibSurface(int width, int height, Pixel fill);
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;
  ~DibSurface();

  PixelSurface& Pixels() { return view_; }
  void Blit(HDC target, int x, int y, int scale = 1) const;

 private:
  HDC dc_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ previous_ = nullptr;
  PixelSurface view_;
};

}  // namespace pelorin::win
