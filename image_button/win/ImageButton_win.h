#pragma once

#include <windows.h>

#include "Button.h"
#include "GdiObject_win.h"
#include "Window_win.h"

namespace pelorin::win {

// What the window that holds an image button hears from it.
class ImageButtonListener {
 public:
  virtual void OnImageButtonClick(int id) = 0;

 protected:
  ~ImageButtonListener() = default;
};

// The image button as a child window: draws the model's face, icon and caption, and feeds it
// pointer and key input from the surface or from the element that was hit.
class ImageButton : public Window, private ButtonHost {
 public:
  ImageButton(HWND parent, int id, int x, int y, ImageButtonListener& listener);

  Button& Model() { return model_; }
  // Reads the stored instance into the model, and gives the window its enabled state.
  ButtonError ReadProperties(const PropertyStore& store);
  // The same for stored data made into plain values at build time.
  void ApplySettings(const ButtonSettings& settings, const PictureRef (&pictures)[3]);
  // Sizes the control from the stored extents (hundredths of a millimetre).
  void SetExtents(int extentX, int extentY);
  // Lays the control out, pictures and caption, at `scale` times its size.
  void SetScale(int scale);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PropertyChanged(std::string_view key) override;
  FontRef AmbientFont() override;
  void MeasureCaption(const String& text, const FontObject& font, float& width, float& height) override;
  void SizeChanged(float width, float height) override;
  void FaceChanged() override;
  void Click() override { listener_.OnImageButtonClick(id_); }

  void TakeStoredState();
  void Paint();
  void PaintParentBehind(HDC memory, const RECT& client);
  void OnButtonDown(int button, WPARAM keys, int x, int y);
  void OnButtonUp(int button, WPARAM keys, int x, int y);
  void OnMouseMove(WPARAM keys, int x, int y);
  Button::Source HitSource(int x, int y) const;
  HFONT CaptionFont();
  int Px(float twips) const;

  int id_;
  POINT origin_;
  int scale_ = 1;
  ImageButtonListener& listener_;
  // Before the model, which may measure its caption in this font while it is built.
  GdiObject<HFONT> font_;  // the model's font at the scale; none until it is needed
  Button model_;
  bool gestureActive_ = false;
  Button::Source gestureSource_ = Button::Source::kSurface;
};

}  // namespace pelorin::win
