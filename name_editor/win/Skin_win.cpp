#include "Skin_win.h"

#include "EditorLayout.h"
#include "GdiObject_win.h"

namespace pelorin::win {

namespace {

constexpr COLORREF kBackground = RGB(16, 28, 48);
constexpr COLORREF kStripTop = RGB(40, 84, 150);
constexpr COLORREF kStripBottom = RGB(8, 30, 70);
constexpr COLORREF kFrame = RGB(96, 130, 180);
constexpr COLORREF kTitleText = RGB(255, 255, 0);
constexpr int kStripHeight = 21;
constexpr RECT kTitleArea{8, 0, 300, kStripHeight};
constexpr RECT kPageArea{layout::kLinkAreas[1].left, layout::kLinkAreas[1].top,
                         layout::kLinkAreas[1].left + layout::kLinkAreas[1].width,
                         layout::kLinkAreas[1].top + layout::kLinkAreas[1].height};
// The name box and the preview below it share one frame.
constexpr Rect kNameFrame{layout::kNameBox.left, layout::kNameBox.top, layout::kNameBox.width,
                          layout::kPreview.top + layout::kPreview.height - layout::kNameBox.top};

// DrawText changes the rectangle only for DT_CALCRECT, so it takes a constant one as it is:
// a copy would keep the values as writable data.
void DrawTextIn(HDC dc, const char* text, const RECT& area, UINT format) {
  DrawTextA(dc, text, -1, const_cast<RECT*>(&area), format);
}

void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  const RECT rect{left, top, right, bottom};
  FillRect(dc, &rect, brush.Get());
}

void Frame(HDC dc, const Rect& area, int margin) {
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kFrame));
  Selection penSelection(dc, pen.Get());
  Selection brushSelection(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, area.left - margin, area.top - margin, area.left + area.width + margin,
            area.top + area.height + margin);
}

// Each of the strip's rows is `scale` pixels high.
void PaintStripGradient(HDC dc, int left, int right, int scale = 1) {
  for (int y = 0; y < kStripHeight; ++y) {
    const auto blend = [y](int top, int bottom) { return top + (bottom - top) * y / kStripHeight; };
    FillSolid(dc, left, y * scale, right, (y + 1) * scale,
              RGB(blend(GetRValue(kStripTop), GetRValue(kStripBottom)),
                  blend(GetGValue(kStripTop), GetGValue(kStripBottom)),
                  blend(GetBValue(kStripTop), GetBValue(kStripBottom))));
  }
}

void PaintTitleStrip(HDC dc, int width) {
  PaintStripGradient(dc, 0, width);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTitleText);
  DrawTextIn(dc, "Pelorin", kTitleArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE);

  // The close mark: a cross inside a small box at the strip's right end.
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
  Selection penSelection(dc, pen.Get());
  MoveToEx(dc, 354, 6, nullptr);
  LineTo(dc, 360, 14);
  MoveToEx(dc, 360, 6, nullptr);
  LineTo(dc, 354, 14);
}

// The two link areas: the maker's name up the right-hand strip and the page at the bottom.
void PaintLinks(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kFrame);
  DrawTextIn(dc, "www.brackwater", kPageArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

  GdiObject<HFONT> upright(CreateFontA(-16, 0, 900, 900, FW_BOLD, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, DEFAULT_PITCH, "Arial"));
  Selection font(dc, upright.Get());
  const Rect& strip = layout::kLinkAreas[0];
  SetTextColor(dc, kTitleText);
  TextOutA(dc, strip.left + 8, strip.top + strip.height - 12, "Brackwater", 10);
}

}  // namespace

void PaintNameCounter(HDC dc, const RECT& area, const char* text, bool overLimit, int scale) {
  PaintStripGradient(dc, area.left, area.right, scale);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, overLimit ? RGB(255, 0, 0) : kTitleText);
  RECT box = area;
  DrawTextA(dc, text, -1, &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

namespace {

void PaintSkinAt100(HDC dc, int width, int height) {
  FillSolid(dc, 0, 0, width, height, kBackground);
  PaintTitleStrip(dc, width);
  Frame(dc, kNameFrame, 2);
  Frame(dc, layout::kHistory, 2);
  Frame(dc, layout::kLetters, 2);
  PaintLinks(dc);
}

}  // namespace

// The skin is pixel art like the rest: drawn once at 100 % and enlarged by the whole factor.
void PaintSkin(HDC dc, int width, int height, int scale) {
  if (scale == 1) return PaintSkinAt100(dc, width, height);
  MemoryDc memory(dc);
  GdiObject<HBITMAP> canvas(CreateCompatibleBitmap(dc, width, height));
  Selection selection(memory.Get(), canvas.Get());
  PaintSkinAt100(memory.Get(), width, height);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, width * scale, height * scale, memory.Get(), 0, 0, width, height, SRCCOPY);
}

}  // namespace pelorin::win
