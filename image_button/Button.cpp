#include "Button.h"

#include "DecimalText.h"


namespace pelorin {

namespace {

constexpr float kTwipsPerPixel = 15;
constexpr float kIconCaptionGap = 30;

struct Described {
  std::string_view member;
  std::string_view description;
};

constexpr Described kDescriptions[] = {
    {"BackColor", "Returns/sets the background color used to display text and graphics in an object."},
    {"ForeColor", "Returns/sets the foreground color used to display text and graphics in an object."},
    {"Enabled", "Returns/sets a value that determines whether an object can respond to user-generated events."},
    {"Font", "Returns a Font object."},
    {"BackStyle", "Indicates whether a Label or the background of a Shape is transparent or opaque."},
    {"BorderStyle", "Returns/sets the border style for an object."},
    {"Caption", "Returns/sets the text displayed in an object's title bar or below an object's icon."},
    {"Picture", "Returns/sets a graphic to be displayed in a control."},
    {"Click", "Occurs when the user presses and then releases a mouse button over an object."},
    {"DblClick", "Occurs when the user presses and releases a mouse button and then presses and releases it again over an object."},
    {"KeyDown", "Occurs when the user presses a key while an object has the focus."},
    {"KeyPress", "Occurs when the user presses and releases an ANSI key."},
    {"KeyUp", "Occurs when the user releases a key while an object has the focus."},
    {"MouseDown", "Occurs when the user presses the mouse button while an object has the focus."},
    {"MouseMove", "Occurs when the user moves the mouse."},
    {"MouseUp", "Occurs when the user releases the mouse button while an object has the focus."},
};

// Conversions of stored values; each says what it could not convert.
std::optional<double> Number(const PropertyValue& value) {
  if (auto* i = std::get_if<std::int16_t>(&value)) return *i;
  if (auto* i = std::get_if<std::int32_t>(&value)) return *i;
  if (auto* f = std::get_if<float>(&value)) return *f;
  if (auto* b = std::get_if<bool>(&value)) return *b ? -1 : 0;
  if (auto* s = std::get_if<String>(&value)) return ParseDecimal(*s);
  return std::nullopt;
}

ButtonError Mismatch(std::string_view key) { return "Type mismatch reading \"" + String(key) + "\""; }
ButtonError Overflow(std::string_view key) { return "Overflow reading \"" + String(key) + "\""; }

template <class Integer>
ButtonError ToInteger(const PropertyValue& value, std::string_view key, Integer& out) {
  const auto number = Number(value);
  if (!number) return Mismatch(key);
  const std::optional<Integer> whole = WholeInRange<Integer>(*number);
  if (!whole) return Overflow(key);
  out = *whole;
  return std::nullopt;
}

ButtonError ToBool(const PropertyValue& value, std::string_view key, bool& out) {
  const auto number = Number(value);
  if (!number) return Mismatch(key);
  out = *number != 0;
  return std::nullopt;
}

ButtonError ToFloat(const PropertyValue& value, std::string_view key, float& out) {
  const auto number = Number(value);
  if (!number) return Mismatch(key);
  const std::optional<float> single = FloatInRange(*number);
  if (!single) return Overflow(key);
  out = *single;
  return std::nullopt;
}

ButtonError ToText(const PropertyValue& value, std::string_view key, String& out) {
  if (auto* s = std::get_if<String>(&value)) {
    out = *s;
    return std::nullopt;
  }
  if (std::holds_alternative<FontRef>(value) || std::holds_alternative<PictureRef>(value)) return Mismatch(key);
  out = FormatDecimal(*Number(value));
  return std::nullopt;
}

ButtonError ToPicture(const PropertyValue& value, std::string_view key, PictureRef& out) {
  auto* picture = std::get_if<PictureRef>(&value);
  if (picture == nullptr || *picture == nullptr) return Mismatch(key);
  out = *picture;
  return std::nullopt;
}

ButtonError ToFont(const PropertyValue& value, std::string_view key, FontRef& out) {
  auto* font = std::get_if<FontRef>(&value);
  if (font == nullptr || *font == nullptr) return Mismatch(key);
  out = *font;
  return std::nullopt;
}

ButtonError NoPicture() { return String("Object variable not set: a picture property holds no picture"); }

}  // namespace

// The host is usually still being built when its button is (the button is one of its
// members), so nothing here may call it: the caption keeps its creation size until the
// first reading of properties or caption change measures it.
Button::Button(ButtonHost& host) : host_(host) {}

void Button::SetBackColor(std::int32_t New_BackColor) {
  backColor_ = New_BackColor;
  Notify("BackColor");
  host_.FaceChanged();
}

void Button::SetForeColor(std::int32_t New_ForeColor) {
  foreColor_ = New_ForeColor;
  Notify("ForeColor");
  host_.FaceChanged();
}

void Button::SetEnabled(bool New_Enabled) {
  enabled_ = New_Enabled;
  Notify("Enabled");
  host_.FaceChanged();
}

ButtonError Button::SetFont(FontRef New_Font) {
  if (!New_Font) return String("Object variable not set: no font");
  font_ = std::move(New_Font);
  MeasureCaption();
  Notify("Font");
  return std::nullopt;
}

void Button::SetBackStyle(std::int16_t New_BackStyle) {
  backStyle_ = New_BackStyle;
  Notify("BackStyle");
  host_.FaceChanged();
}

void Button::SetBorderStyle(std::int16_t New_BorderStyle) {
  borderStyle_ = New_BorderStyle;
  Notify("BorderStyle");
  host_.FaceChanged();
}

void Button::SetCaption(String New_Caption) {
  captionText_ = std::move(New_Caption);
  MeasureCaption();
  Notify("Caption");
  Relayout();
}

ButtonError Button::SetPictureNormal(PictureRef New_PictureNormal) {
  if (!New_PictureNormal) return NoPicture();
  pictureNormal_ = std::move(New_PictureNormal);  // also the surface's background picture
  Notify("PictureNormal");
  Relayout();
  return std::nullopt;
}

ButtonError Button::SetPicturePressed(PictureRef New_PicturePressed) {
  if (!New_PicturePressed) return NoPicture();
  picturePressed_ = std::move(New_PicturePressed);
  Notify("PicturePressed");
  Relayout();
  return std::nullopt;
}

void Button::SetResizeable(bool New_Resizeable) {
  resizeable_ = New_Resizeable;  // takes effect at the next layout
  Notify("Resizeable");
}

void Button::SetCaptionDownXAmount(float New_CaptionDownXAmount) {
  captionDownX_ = New_CaptionDownXAmount;
  Notify("CaptionDownXAmount");
}

void Button::SetCaptionDownYAmount(float New_CaptionDownYAmount) {
  captionDownY_ = New_CaptionDownYAmount;
  Notify("CaptionDownYAmount");
}

void Button::SetCaptionMoveWhenPressed(bool New_CaptionMoveWhenPressed) {
  captionMoveWhenPressed_ = New_CaptionMoveWhenPressed;
  Notify("CaptionMoveWhenPressed");
}

ButtonError Button::SetPicture(PictureRef New_Picture) {
  if (!New_Picture) return NoPicture();
  iconPicture_ = std::move(New_Picture);
  ShowIconIfPresent();
  Relayout();
  Notify("Picture");
  return std::nullopt;
}

std::string_view Button::Description(std::string_view member) {
  for (const auto& entry : kDescriptions)
    if (entry.member == member) return entry.description;
  return {};
}

void Button::InitProperties() {
  font_ = host_.AmbientFont();
  MeasureCaption();
  pictureNormal_ = EmptyPicture();
  picturePressed_ = EmptyPicture();
  resizeable_ = false;
  captionDownX_ = 15;
  captionDownY_ = 15;
  captionMoveWhenPressed_ = true;
}

ButtonError Button::ReadProperties(const PropertyStore& store) {
  const auto read = [&](std::string_view key, const PropertyValue& defaultValue) {
    return store.ReadProperty(key, defaultValue);
  };
  if (auto e = ToInteger(read("BackColor", std::int32_t(0x8000000F)), "BackColor", backColor_)) return e;
  if (auto e = ToInteger(read("ForeColor", std::int32_t(0x80000012)), "ForeColor", foreColor_)) return e;
  if (auto e = ToBool(read("Enabled", true), "Enabled", enabled_)) return e;
  if (auto e = ToFont(read("Font", host_.AmbientFont()), "Font", font_)) return e;
  if (auto e = ToInteger(read("BackStyle", std::int16_t(1)), "BackStyle", backStyle_)) return e;
  if (auto e = ToInteger(read("BorderStyle", std::int16_t(0)), "BorderStyle", borderStyle_)) return e;
  if (auto e = ToText(read("Caption", String("Button")), "Caption", captionText_)) return e;
  MeasureCaption();
  if (auto e = ToPicture(read("PictureNormal", EmptyPicture()), "PictureNormal", pictureNormal_)) return e;
  if (auto e = ToPicture(read("PicturePressed", EmptyPicture()), "PicturePressed", picturePressed_)) return e;
  if (auto e = ToBool(read("Resizeable", std::int16_t(0)), "Resizeable", resizeable_)) return e;
  if (auto e = ToFloat(read("CaptionDownXAmount", std::int16_t(15)), "CaptionDownXAmount", captionDownX_)) return e;
  if (auto e = ToFloat(read("CaptionDownYAmount", std::int16_t(15)), "CaptionDownYAmount", captionDownY_)) return e;
  if (auto e = ToBool(read("CaptionMoveWhenPressed", std::int16_t(1)), "CaptionMoveWhenPressed",
                      captionMoveWhenPressed_))
    return e;
  if (auto e = ToPicture(read("Picture", EmptyPicture()), "Picture", iconPicture_)) return e;

  ShowIconIfPresent();
  host_.FaceChanged();
  Relayout();
  return std::nullopt;
}

void Button::ApplySettings(const ButtonSettings& settings, const PictureRef (&pictures)[3]) {
  backColor_ = settings.backColor;
  foreColor_ = settings.foreColor;
  enabled_ = settings.enabled;
  const FontSettings& font = settings.font;
  font_ = font.name ? FontRef(new FontObject{font.name, font.size, font.weight, font.italic, font.underline,
                                             font.strikethrough})
                    : host_.AmbientFont();
  backStyle_ = settings.backStyle;
  borderStyle_ = settings.borderStyle;
  captionText_ = settings.caption;
  MeasureCaption();
  // Nothing between here and the layout tells the host, so the order of these is not seen.
  PictureRef Button::* const slots[] = {&Button::pictureNormal_, &Button::picturePressed_, &Button::iconPicture_};
  for (int k = 0; k < 3; ++k) this->*slots[k] = pictures[k] ? pictures[k] : EmptyPicture();
  resizeable_ = settings.resizeable;
  captionDownX_ = settings.captionDownXAmount;
  captionDownY_ = settings.captionDownYAmount;
  captionMoveWhenPressed_ = settings.captionMoveWhenPressed;

  ShowIconIfPresent();
  host_.FaceChanged();
  Relayout();
}

void Button::WriteProperties(PropertyStore& store) const {
  store.WriteProperty("BackColor", backColor_, std::int32_t(0x8000000F));
  store.WriteProperty("ForeColor", foreColor_, std::int32_t(0x80000012));
  store.WriteProperty("Enabled", enabled_, true);
  store.WriteProperty("Font", font_, host_.AmbientFont());
  store.WriteProperty("BackStyle", backStyle_, std::int16_t(1));
  store.WriteProperty("BorderStyle", borderStyle_, std::int16_t(0));
  store.WriteProperty("Caption", captionText_, String("Button"));
  store.WriteProperty("PictureNormal", pictureNormal_, EmptyPicture());
  store.WriteProperty("PicturePressed", picturePressed_, EmptyPicture());
  store.WriteProperty("Resizeable", resizeable_, std::int16_t(0));
  store.WriteProperty("CaptionDownXAmount", captionDownX_, std::int16_t(15));
  store.WriteProperty("CaptionDownYAmount", captionDownY_, std::int16_t(15));
  store.WriteProperty("CaptionMoveWhenPressed", captionMoveWhenPressed_, std::int16_t(1));
  store.WriteProperty("Picture", iconPicture_, EmptyPicture());
}

// A disabled control takes no input at all, however it came to be disabled (a setter, or
// stored data read without notifications).
void Button::Press(Source, std::int16_t button, std::int16_t shift, float x, float y) {
  if (enabled_) HandlePress(button, shift, x, y);
}

void Button::Move(Source source, std::int16_t button, std::int16_t shift, float x, float y) {
  if (!enabled_) return;
  if (source == Source::kSurface) HandlePointerMove(button, shift, x, y);
  else host_.MouseMove(button, shift, x, y);  // the elements report moves without tracking
}

void Button::Release(Source, std::int16_t button, std::int16_t shift, float x, float y) {
  if (enabled_) HandleRelease(button, shift, x, y);
}

void Button::DoubleClick(Source source) {
  if (enabled_ && source != Source::kCaption) host_.DblClick();
}

void Button::KeyDown(std::int16_t keyCode, std::int16_t shift) {
  if (enabled_) host_.KeyDown(keyCode, shift);
}
void Button::KeyPress(std::int16_t keyAscii) {
  if (enabled_) host_.KeyPress(keyAscii);
}
void Button::KeyUp(std::int16_t keyCode, std::int16_t shift) {
  if (enabled_) host_.KeyUp(keyCode, shift);
}

void Button::HandlePress(std::int16_t button, std::int16_t shift, float x, float y) {
  if (picturePressed_->Present()) Paint(picturePressed_);
  ShiftCaption();
  pressed_ = true;
  host_.MouseDown(button, shift, x, y);
}

void Button::HandlePointerMove(std::int16_t button, std::int16_t shift, float x, float y) {
  if (button == 1) {
    if (Inside(x, y) && !pressed_) {
      if (picturePressed_->Present()) Paint(picturePressed_);
      ShiftCaption();
      pressed_ = true;
    } else if (!Inside(x, y) && pressed_) {
      if (pictureNormal_->Present()) Paint(pictureNormal_);
      UnshiftCaption();
      pressed_ = false;
    }
  }
  host_.MouseMove(button, shift, x, y);
}

void Button::HandleRelease(std::int16_t button, std::int16_t shift, float x, float y) {
  Paint(nullptr);
  UnshiftCaption();
  if (pictureNormal_->Present()) Paint(pictureNormal_);
  host_.MouseUp(button, shift, x, y);
  if (Inside(x, y)) host_.Click();
  pressed_ = false;
  Relayout();
}

void Button::Relayout() {
  icon_.left = width_ / 2.0f - icon_.width / 2.0f;
  icon_.top = height_ / 2.0f - icon_.height / 2.0f;
  if (pictureNormal_ && pictureNormal_->Present()) {
    if (resizeable_) {
      Paint(pictureNormal_);
    } else {
      Paint(nullptr);
      autoSizer_.width = pictureNormal_->width * kTwipsPerPixel;
      autoSizer_.height = pictureNormal_->height * kTwipsPerPixel;
      SetWidth(autoSizer_.width);
      SetHeight(autoSizer_.height);
    }
  }
  caption_.left = width_ / 2.0f - caption_.width / 2.0f;
  caption_.top = icon_.visible ? icon_.top + icon_.height + kIconCaptionGap
                               : height_ / 2.0f - caption_.height / 2.0f;
  host_.FaceChanged();
}

void Button::Resize(float width, float height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  Relayout();
}

// The icon element takes its picture's natural size and shows only when there is an image.
void Button::ShowIconIfPresent() {
  icon_.visible = iconPicture_->Present();
  if (icon_.visible) {
    icon_.width = iconPicture_->width * kTwipsPerPixel;
    icon_.height = iconPicture_->height * kTwipsPerPixel;
  }
}

void Button::MeasureCaption() {
  host_.MeasureCaption(captionText_, *font_, caption_.width, caption_.height);
}

void Button::ShiftCaption() {
  if (!captionMoveWhenPressed_) return;
  caption_.top += captionDownY_;
  caption_.left += captionDownX_;
}

void Button::UnshiftCaption() {
  if (!captionMoveWhenPressed_) return;
  caption_.top -= captionDownY_;
  caption_.left -= captionDownX_;
}

void Button::Paint(const PictureRef& picture) {
  painted_ = picture;
  host_.FaceChanged();
}

// Each change of size makes the host lay the control out again at once.
void Button::SetWidth(float width) {
  if (width == width_) return;
  width_ = width;
  host_.SizeChanged(width_, height_);
  Relayout();
}

void Button::SetHeight(float height) {
  if (height == height_) return;
  height_ = height;
  host_.SizeChanged(width_, height_);
  Relayout();
}

bool Button::Inside(float x, float y) const { return x >= 0 && x <= width_ && y >= 0 && y <= height_; }

}  // namespace pelorin
