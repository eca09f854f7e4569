#pragma once

#include <cstdint>
#include <optional>
#include "Str.h"
#include <string_view>

#include "ButtonValues.h"
#include "PropertyStore.h"

namespace pelorin {

// What went wrong in a property or input operation; nothing when it succeeded.
using ButtonError = std::optional<String>;

// A child element's box in twips, relative to the control's surface.
struct ElementBox {
  float left = 0, top = 0, width = 0, height = 0;
  bool visible = false;
};

// A font as a table made at build time holds it; no name stands for the host's ambient font.
struct FontSettings {
  const char* name = nullptr;
  float size = 0;
  int weight = 0;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
};

// The properties that ReadProperties takes from a store, as plain values (the pictures apart);
// a member left as it is stands for a key the store does not hold.
struct ButtonSettings {
  std::int32_t backColor = static_cast<std::int32_t>(0x8000000F);
  std::int32_t foreColor = static_cast<std::int32_t>(0x80000012);
  bool enabled = true;
  FontSettings font;
  std::int16_t backStyle = 1;
  std::int16_t borderStyle = 0;
  const char* caption = "Button";
  bool resizeable = false;
  float captionDownXAmount = 15;
  float captionDownYAmount = 15;
  bool captionMoveWhenPressed = true;
};

// What the button needs from the window that hosts it, and the events it raises there.
// Event arguments are passed by reference: the button goes on with what the host leaves.
class ButtonHost {
 public:
  virtual void PropertyChanged(std::string_view key) = 0;
  virtual FontRef AmbientFont() = 0;
  // The size, in twips, that a caption of this text takes in this font.
  virtual void MeasureCaption(const String& text, const FontObject& font, float& width,
                              float& height) = 0;
  // The button changed its own size; the host moves its window to match.
  virtual void SizeChanged(float width, float height) = 0;
  // Something that the button draws changed.
  virtual void FaceChanged() {}

  virtual void Click() {}
  virtual void DblClick() {}
  virtual void KeyDown(std::int16_t& /*keyCode*/, std::int16_t& /*shift*/) {}
  virtual void KeyPress(std::int16_t& /*keyAscii*/) {}
  virtual void KeyUp(std::int16_t& /*keyCode*/, std::int16_t& /*shift*/) {}
  virtual void MouseDown(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
  virtual void MouseMove(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
  virtual void MouseUp(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}

 protected:
  ~ButtonHost() = default;
};

// A push button drawn from a normal and a pressed picture, with an optional icon and a caption
// that shifts while the button is held. Works in twips; a window adapter draws it and feeds
// it input.
class Button {
 public:
  static constexpr char kStoredClassName[] = "Pelorin.Button";

  // Where pointer input came from: the surface, or one of the two visible elements.
  enum class Source { kSurface, kIcon, kCaption };

  explicit Button(ButtonHost& host);

  // Properties, in the order of the control's interface.
  std::int32_t BackColor() const { return backColor_; }
  void SetBackColor(std::int32_t New_BackColor);
  std::int32_t ForeColor() const { return foreColor_; }
  void SetForeColor(std::int32_t New_ForeColor);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool New_Enabled);
  const FontRef& Font() const { return font_; }
  ButtonError SetFont(FontRef New_Font);
  std::int16_t BackStyle() const { return backStyle_; }
  void SetBackStyle(std::int16_t New_BackStyle);
  std::int16_t BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(std::int16_t New_BorderStyle);
  const String& Caption() const { return captionText_; }
  void SetCaption(String New_Caption);
  const PictureRef& PictureNormal() const { return pictureNormal_; }
  ButtonError SetPictureNormal(PictureRef New_PictureNormal);
  const PictureRef& PicturePressed() const { return picturePressed_; }
  ButtonError SetPicturePressed(PictureRef New_PicturePressed);
  bool Resizeable() const { return resizeable_; }
  void SetResizeable(bool New_Resizeable);
  float CaptionDownXAmount() const { return captionDownX_; }
  void SetCaptionDownXAmount(float New_CaptionDownXAmount);
  float CaptionDownYAmount() const { return captionDownY_; }
  void SetCaptionDownYAmount(float New_CaptionDownYAmount);
  bool CaptionMoveWhenPressed() const { return captionMoveWhenPressed_; }
  void SetCaptionMoveWhenPressed(bool New_CaptionMoveWhenPressed);
  const PictureRef& Picture() const { return iconPicture_; }
  ButtonError SetPicture(PictureRef New_Picture);

  // The description a designer shows for a property or an event; empty when there is none.
  static std::string_view Description(std::string_view member);

  void InitProperties();
  // Reads the fourteen keys in order, applying each at once; a failing key stops the
  // reading with the earlier keys applied.
  ButtonError ReadProperties(const PropertyStore& store);
  void WriteProperties(PropertyStore& store) const;
  // What ReadProperties does for a store that holds these values and the pictures
  // PictureNormal, PicturePressed and Picture, where no picture counts as an empty one.
  void ApplySettings(const ButtonSettings& settings, const PictureRef (&pictures)[3]);

  // Pointer input, with the source's own coordinates in twips. It cannot fail: the picture
  // properties always hold a picture object (their setters and readers refuse none).
  void Press(Source source, std::int16_t button, std::int16_t shift, float x, float y);
  void Move(Source source, std::int16_t button, std::int16_t shift, float x, float y);
  void Release(Source source, std::int16_t button, std::int16_t shift, float x, float y);
  void DoubleClick(Source source);
  void KeyDown(std::int16_t keyCode, std::int16_t shift);
  void KeyPress(std::int16_t keyAscii);
  void KeyUp(std::int16_t keyCode, std::int16_t shift);

  void HandlePress(std::int16_t button, std::int16_t shift, float x, float y);
  void HandlePointerMove(std::int16_t button, std::int16_t shift, float x, float y);
  void HandleRelease(std::int16_t button, std::int16_t shift, float x, float y);
  void Relayout();

  // The host sizes the control; a change re-lays it out.
  void Resize(float width, float height);

  float Width() const { return width_; }
  float Height() const { return height_; }
  bool Pressed() const { return pressed_; }
  // The painted layer: a picture stretched over the control, or nothing.
  const PictureRef& PaintedPicture() const { return painted_; }
  const ElementBox& CaptionBox() const { return caption_; }
  const ElementBox& IconBox() const { return icon_; }
  const ElementBox& AutoSizerBox() const { return autoSizer_; }

 private:
  void Notify(std::string_view key) { host_.PropertyChanged(key); }
  void MeasureCaption();
  void ShowIconIfPresent();
  void ShiftCaption();
  void UnshiftCaption();
  void Paint(const PictureRef& picture);
  void SetWidth(float width);
  void SetHeight(float height);
  bool Inside(float x, float y) const;

  ButtonHost& host_;
  // The surface.
  std::int32_t backColor_ = static_cast<std::int32_t>(0x8000000F);
  std::int16_t backStyle_ = 1;
  std::int16_t borderStyle_ = 0;
  bool enabled_ = true;
  FontRef font_{new FontObject};
  float width_ = 1035;
  float height_ = 645;
  PictureRef painted_;
  // The elements, which start where a new control has them: copied from constants, which
  // keeps the compiler from making writable copies of these values.
  static constexpr ElementBox kIconStart{240, 240, 480, 360, false};
  static constexpr ElementBox kCaptionStart{240, 240, 465, 195, true};
  static constexpr ElementBox kAutoSizerStart{720, 480, 375, 135, false};
  ElementBox icon_ = kIconStart;
  PictureRef iconPicture_ = EmptyPicture();
  ElementBox caption_ = kCaptionStart;
  String captionText_ = "Button";
  std::int32_t foreColor_ = static_cast<std::int32_t>(0x80000012);
  ElementBox autoSizer_ = kAutoSizerStart;
  // The control's own state.
  float captionDownX_ = 15;
  float captionDownY_ = 15;
  bool captionMoveWhenPressed_ = true;
  PictureRef pictureNormal_ = EmptyPicture();
  PictureRef picturePressed_ = EmptyPicture();
  bool resizeable_ = false;
  bool pressed_ = false;
};

}  // namespace pelorin
