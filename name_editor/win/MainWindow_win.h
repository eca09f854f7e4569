#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "GdiObject_win.h"
#include "GlyphCanvas.h"
#include "GlyphSheet.h"
#include "NameHistory.h"
#include "PictureControl_win.h"
#include "Window_win.h"

namespace pelorin::win {

// The name editor's borderless main window: name box, live preview, colour boxes, history
// and letter palette. It draws the core's state and forwards input to it.
class MainWindow : public Window, public PictureListener {
 public:
  explicit MainWindow(const GlyphSheet& sheet);

  // Creates the window and its controls; false when the system refused.
  bool Open();

  // Handles the window's own keys before the focused control sees them; true when used.
  bool PreviewKey(const MSG& message);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  void OnCommand(int id, int notification);
  void OnSkinPress(int x, int y);
  void OnPictureMouseMove(int id, int x, int y) override;
  void OnPictureButtonUp(int id, int button, int x, int y) override;
  void OnPictureClick(int id) override;

  std::string NameText() const;
  void SetNameText(const std::string& text);
  void InsertIntoName(const std::string& inserted);
  void DrawPreview();
  void DrawHistory();
  void ToggleKeypad();
  void ShowSaveMenu();
  void DeleteHistoryRow();

  const GlyphSheet& sheet_;
  GlyphCanvas canvas_;
  NameHistory history_;
  std::int16_t deleteIndex_ = 0;
  int heightTwips_ = 0;

  HWND nameBox_ = nullptr;
  HWND keypadButton_ = nullptr;
  HWND saveButton_ = nullptr;
  std::unique_ptr<PictureControl> preview_;
  std::unique_ptr<PictureControl> historyArea_;
  std::unique_ptr<PictureControl> letters_;
  std::array<std::unique_ptr<PictureControl>, 8> colourBoxes_;
  std::int16_t historyMarkerTop_ = 16;
  Point letterMarkerTwips_{0, 0};
  GdiObject<HBRUSH> bandBrush_;
  GdiObject<HFONT> font_;
  HMENU deleteMenu_ = nullptr;
  HMENU saveMenu_ = nullptr;
};

}  // namespace pelorin::win
