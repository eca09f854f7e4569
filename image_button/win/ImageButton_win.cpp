#include "ImageButton_win.h"

#include <windowsx.h>

#include "Dpi_win.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinImageButton";
constexpr float kTwipsPerPixel = 15;

// To the nearest whole number, halves away from zero, as lround does without its library call.
int Rounded(float value) { return static_cast<int>(value + (value < 0 ? -0.5 : 0.5)); }

int Pixels(float twips) { return Rounded(twips / kTwipsPerPixel); }

COLORREF ColourOf(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return (bits & 0x80000000u) ? GetSysColor(static_cast<int>(bits & 0xFF)) : static_cast<COLORREF>(bits & 0xFFFFFF);
}

std::int16_t ShiftMask(WPARAM keys) {
  std::int16_t mask = 0;
  if (keys & MK_SHIFT) mask |= 1;
  if (keys & MK_CONTROL) mask |= 2;
  if (GetKeyState(VK_MENU) < 0) mask |= 4;
  return mask;
}

std::int16_t KeyShiftMask() {
  std::int16_t mask = 0;
  if (GetKeyState(VK_SHIFT) < 0) mask |= 1;
  if (GetKeyState(VK_CONTROL) < 0) mask |= 2;
  if (GetKeyState(VK_MENU) < 0) mask |= 4;
  return mask;
}

std::int16_t ButtonMask(WPARAM keys) {
  std::int16_t mask = 0;
  if (keys & MK_LBUTTON) mask |= 1;
  if (keys & MK_RBUTTON) mask |= 2;
  if (keys & MK_MBUTTON) mask |= 4;
  return mask;
}

void DrawPicture(HDC dc, const PictureObject& picture, int x, int y, int width, int height) {
  SetStretchBltMode(dc, COLORONCOLOR);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, x, y, width, height, 0, 0, picture.width, picture.height, picture.pixels.data(),
                &info, DIB_RGB_COLORS, SRCCOPY);
}

bool Within(const ElementBox& box, int x, int y) {
  const int left = Pixels(box.left), top = Pixels(box.top);
  return box.visible && x >= left && x < left + Pixels(box.width) && y >= top && y < top + Pixels(box.height);
}

}  // namespace

ImageButton::ImageButton(HWND parent, int id, int x, int y, ImageButtonListener& listener)
    : id_(id), origin_{x, y}, listener_(listener), model_(*this) {
  RegisterWindowClass(kClassName, CS_DBLCLKS);
  Create(0, kClassName, "", WS_CHILD | WS_VISIBLE, x, y, Pixels(model_.Width()), Pixels(model_.Height()),
         parent, id);
}

int ImageButton::Px(float twips) const { return Pixels(twips) * scale_; }

void ImageButton::SetScale(int scale) {
  scale_ = scale;
  font_ = GdiObject<HFONT>();
  // The caption's measure is kept in the button's own units, so only the window changes.
  SetWindowPos(Handle(), nullptr, origin_.x * scale, origin_.y * scale, Px(model_.Width()), Px(model_.Height()),
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void ImageButton::SetExtents(int extentX, int extentY) {
  // Hundredths of a millimetre to twips (1440 twips make 2540 of them, or 144 make 254), to
  // the nearest, halves away from zero.
  const auto twips = [](int extent) { return static_cast<float>((extent * 144 + (extent < 0 ? -127 : 127)) / 254); };
  model_.Resize(twips(extentX), twips(extentY));
  SizeChanged(model_.Width(), model_.Height());
}

ButtonError ImageButton::ReadProperties(const PropertyStore& store) {
  const ButtonError error = model_.ReadProperties(store);
  TakeStoredState();
  return error;
}

void ImageButton::ApplySettings(const ButtonSettings& settings, const PictureRef (&pictures)[3]) {
  model_.ApplySettings(settings, pictures);
  TakeStoredState();
}

// Reading notifies nothing, so the window takes the stored enabled state and caption here;
// the caption as the window's text is what screen readers name the button by.
void ImageButton::TakeStoredState() {
  font_ = GdiObject<HFONT>();  // the font may have changed without a measure
  EnableWindow(Handle(), model_.Enabled());
  SetWindowTextA(Handle(), model_.Caption().c_str());
}

void ImageButton::PropertyChanged(std::string_view key) {
  if (Handle() == nullptr) return;
  if (key == "Enabled") EnableWindow(Handle(), model_.Enabled());
  if (key == "Caption") SetWindowTextA(Handle(), model_.Caption().c_str());
}

FontRef ImageButton::AmbientFont() {
  return FontRef(new FontObject);  // MS Sans Serif, 8.25 points, normal weight
}

// Made again after the model changes its font: it measures its caption then (MeasureCaption),
// or it read stored data (TakeStoredState).
HFONT ImageButton::CaptionFont() {
  if (font_.Get() == nullptr) {
    const FontObject& wanted = *model_.Font();
    // Points at 96 DPI times the whole factor, so the caption keeps its place on the face.
    const int height = -MulDiv(Rounded(wanted.size * 100), 96 * scale_, 7200);
    font_ = GdiObject<HFONT>(CreateFontA(height, 0, 0, 0, wanted.weight, wanted.italic, wanted.underline,
                                         wanted.strikethrough, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                         wanted.name.c_str()));
  }
  return font_.Get();
}

void ImageButton::MeasureCaption(const String& text, const FontObject&, float& width, float& height) {
  font_ = GdiObject<HFONT>();
  HDC dc = GetDC(nullptr);
  SIZE size{};
  {
    Selection font(dc, CaptionFont());
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  }
  ReleaseDC(nullptr, dc);
  width = size.cx * kTwipsPerPixel / scale_;
  height = size.cy * kTwipsPerPixel / scale_;
}

void ImageButton::SizeChanged(float width, float height) {
  if (Handle() != nullptr)
    SetWindowPos(Handle(), nullptr, 0, 0, Px(width), Px(height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ImageButton::FaceChanged() {
  if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, FALSE);
}

void ImageButton::Paint() {
  PaintContext paint(Handle());
  RECT client;
  GetClientRect(Handle(), &client);
  MemoryDc dc(paint.Dc());
  HDC memory = dc.Get();
  GdiObject<HBITMAP> canvas(CreateCompatibleBitmap(paint.Dc(), client.right, client.bottom));
  {
    Selection canvasSelection(memory, canvas.Get());
    if (model_.BackStyle() == 1) {
      GdiObject<HBRUSH> back(CreateSolidBrush(ColourOf(model_.BackColor())));
      FillRect(memory, &client, back.Get());
    } else {
      PaintParentBehind(memory, client);
    }
    const PictureObject& normal = *model_.PictureNormal();
    if (normal.Present()) DrawPicture(memory, normal, 0, 0, normal.width * scale_, normal.height * scale_);
    if (const PictureRef& painted = model_.PaintedPicture(); painted && painted->Present())
      DrawPicture(memory, *painted, 0, 0, client.right, client.bottom);
    if (const ElementBox& icon = model_.IconBox(); icon.visible) {
      const PictureObject& picture = *model_.Picture();
      DrawPicture(memory, picture, Px(icon.left), Px(icon.top), picture.width * scale_, picture.height * scale_);
    }
    if (model_.BorderStyle() == 1) {
      Selection brush(memory, GetStockObject(NULL_BRUSH));
      Rectangle(memory, 0, 0, client.right, client.bottom);
    }
    const ElementBox& caption = model_.CaptionBox();
    Selection font(memory, CaptionFont());
    SetBkMode(memory, TRANSPARENT);
    // Disabled or not, the caption keeps its colour: disabling only takes input away.
    SetTextColor(memory, ColourOf(model_.ForeColor()));
    TextOutA(memory, Px(caption.left), Px(caption.top), model_.Caption().c_str(),
             static_cast<int>(model_.Caption().size()));
    if (GetFocus() == Handle()) {
      RECT ring = client;
      InflateRect(&ring, -2 * scale_, -2 * scale_);
      FrameBox(memory, ring, scale_, RGB(255, 255, 0));
    }
    BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  }
}

// A transparent surface shows the parent: it paints itself into our bitmap, shifted so its
// own coordinates land where they are on the screen. A parent that paints nothing on
// WM_PRINTCLIENT leaves the dialog face colour.
void ImageButton::PaintParentBehind(HDC memory, const RECT& client) {
  FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
  HWND parent = GetParent(Handle());
  POINT origin{0, 0};
  MapWindowPoints(Handle(), parent, &origin, 1);
  POINT previous;
  SetViewportOrgEx(memory, -origin.x, -origin.y, &previous);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  SetViewportOrgEx(memory, previous.x, previous.y, nullptr);
}

Button::Source ImageButton::HitSource(int x, int y) const {
  if (Within(model_.CaptionBox(), x, y)) return Button::Source::kCaption;
  if (Within(model_.IconBox(), x, y)) return Button::Source::kIcon;
  return Button::Source::kSurface;
}

// The source's own coordinates, in twips.
static void SourcePoint(const Button& model, Button::Source source, int x, int y, float& tx, float& ty) {
  tx = x * kTwipsPerPixel;
  ty = y * kTwipsPerPixel;
  if (source == Button::Source::kCaption) {
    tx -= model.CaptionBox().left;
    ty -= model.CaptionBox().top;
  } else if (source == Button::Source::kIcon) {
    tx -= model.IconBox().left;
    ty -= model.IconBox().top;
  }
}

void ImageButton::OnButtonDown(int button, WPARAM keys, int x, int y) {
  if (!gestureActive_) {
    gestureSource_ = HitSource(x, y);
    gestureActive_ = true;
    SetCapture(Handle());
  }
  float tx = 0, ty = 0;
  SourcePoint(model_, gestureSource_, x, y, tx, ty);
  model_.Press(gestureSource_, static_cast<std::int16_t>(button), ShiftMask(keys), tx, ty);
}

void ImageButton::OnButtonUp(int button, WPARAM keys, int x, int y) {
  if (!gestureActive_) return;
  const Button::Source source = gestureSource_;
  if (ButtonMask(keys) == 0) {
    gestureActive_ = false;
    ReleaseCapture();
  }
  float tx = 0, ty = 0;
  SourcePoint(model_, source, x, y, tx, ty);
  model_.Release(source, static_cast<std::int16_t>(button), ShiftMask(keys), tx, ty);
}

void ImageButton::OnMouseMove(WPARAM keys, int x, int y) {
  const Button::Source source = gestureActive_ ? gestureSource_ : HitSource(x, y);
  float tx = 0, ty = 0;
  SourcePoint(model_, source, x, y, tx, ty);
  model_.Move(source, ButtonMask(keys), ShiftMask(keys), tx, ty);
}

LRESULT ImageButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam) / scale_;
  const int y = GET_Y_LPARAM(lParam) / scale_;
  // The left, right and middle buttons' messages come in threes: down, up, double click.
  const UINT fromLeftDown = message - WM_LBUTTONDOWN;
  if (fromLeftDown < 9 && message != WM_RBUTTONDBLCLK && message != WM_MBUTTONDBLCLK) {
    const int button = 1 << (fromLeftDown / 3);
    if (message == WM_LBUTTONDBLCLK) model_.DoubleClick(HitSource(x, y));
    if (fromLeftDown % 3 == 1) OnButtonUp(button, wParam, x, y);
    else OnButtonDown(button, wParam, x, y);
    return 0;
  }
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, x, y);
      return 0;
    case WM_CAPTURECHANGED:
      gestureActive_ = false;
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      const auto code = static_cast<std::int16_t>(wParam);
      const std::int16_t shift = KeyShiftMask();
      if (message == WM_KEYDOWN) model_.KeyDown(code, shift);
      else model_.KeyUp(code, shift);
      return 0;
    }
    case WM_CHAR:
      model_.KeyPress(static_cast<std::int16_t>(wParam));
      return 0;
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

}  // namespace pelorin::win
