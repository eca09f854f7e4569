#include "DibSurface_win.h"

namespace pelorin::win {

namespace {

HBITMAP CreateTopDownDib(HDC dc, int width, int height, Pixel** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<Pixel*>(pixels);
  return bitmap;
}

}  // namespace

DibSurface::DibSurface(int width, int height, Pixel fill)
    : dc_(CreateCompatibleDC(nullptr)), view_(nullptr, 0, 0) {
  Pixel* bits = nullptr;
  bitmap_ = GdiObject<HBITMAP>(CreateTopDownDib(dc_, width, height, &bits));
  if (bits == nullptr) return;  // out of GDI resources: an empty surface draws nothing
  previous_ = SelectObject(dc_, bitmap_.Get());
  view_ = PixelSurface(bits, width, height);
  view_.Fill(0, 0, width, height, fill);
}

DibSurface::~DibSurface() {
  if (previous_ != nullptr) SelectObject(dc_, previous_);
  DeleteDC(dc_);
}

void DibSurface::Blit(HDC target, int x, int y, int scale) const {
  GdiFlush();
  // Enlarging by a whole factor repeats each pixel; the mode keeps any shrinking from blending.
  SetStretchBltMode(target, COLORONCOLOR);
  StretchBlt(target, x, y, view_.Width() * scale, view_.Height() * scale, dc_, 0, 0, view_.Width(), view_.Height(),
             SRCCOPY);
}

}  // namespace pelorin::win
