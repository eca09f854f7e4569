#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include "Str.h"

#include "EditorKeys.h"
#include "FileSystem.h"
#include "GdiObject_win.h"
#include "GlyphCanvas.h"
#include "GlyphSheet.h"
#include "ImageButton_win.h"
#include "NameSaves.h"
#include "PictureControl_win.h"
#include "Processes.h"
#include "Registry.h"
#include "SaveUi_win.h"
#include "Window_win.h"

namespace pelorin::win {

// Where the program runs and how it was started.
struct ProgramContext {
  FileSystem& files;
  Registry& registry;
  Processes& processes;
  String executablePath;
  String programFolder;
  String productName;
  String version;
  bool uninstall = false;
};

// The name editor's borderless main window: name box, live preview, colour boxes, history
// and letter palette. It draws the core's state and forwards input to it.
class MainWindow : public Window, public PictureListener, public ImageButtonListener {
 public:
  MainWindow(const GlyphSheet& sheet, const ProgramContext& context);

  // Creates the window, runs the start-up and shows it. False when there is nothing to show:
  // the system refused the window, or an "uninstall" start has done its work.
  bool Open();

  // Handles the window's own keys before the focused control sees them; true when used.
  bool PreviewKey(const MSG& message);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  void OnCommand(int id, int notification);
  void OnSkinPress(int x, int y);
  void OnSkinRelease(int x, int y);
  void OnPictureMouseMove(int id, int x, int y) override;
  void OnPictureButtonUp(int id, int button, int x, int y) override;
  void OnPictureClick(int id) override;
  void OnImageButtonClick(int id) override;
  void CreateImageButtons();
  void ApplyDpi(int dpi);

  HWND StopControl(FocusStop stop) const;
  int StopOf(HWND control) const;
  unsigned AvailableStops() const;
  int FocusedItem(FocusStop stop) const;
  void FocusStopItem(FocusStop stop, int item);
  bool OnStopKey(FocusStop stop, int keyCode);

  void LoadSettings();
  void FinishStart();
  void StoreSettings();
  SaveServices Services();
  void SaveToAll();
  void SaveToChosen();
  void AfterSave(SaveOutcome outcome);
  bool OnSetCursor();

  String NameText() const;
  void SetNameText(const String& text);
  // Puts history entry `row` into the name box, which takes the focus.
  void TakeHistoryName(int row);
  void InsertIntoName(std::string_view inserted, bool focusName = true);
  void OnNameChanged();
  void DrawPreview();
  void CreateNameCounter();
  void CreateServerNameTip();
  void SendPreviewTool(UINT message, UINT flags, char* text);
  void UpdateServerNameTip(const ServerName& server);
  void UpdateServerNameHints();
  void DrawHistory();
  void ShowHistoryMarker(int top);
  void ShowLetterMarker(Point twips);
  void ToggleKeypad();
  void ShowSaveMenu();
  void DeleteHistoryRow();

  const GlyphSheet& sheet_;
  const ProgramContext& context_;  // the caller's, which outlives the window
  GlyphCanvas canvas_;
  EditorState state_;
  std::int16_t deleteIndex_ = 0;
  int pressedLink_ = -1;  // the link area a left press began in, while it is held
  int heightTwips_ = 0;
  String settingsPath_;  // where the settings are kept (ChooseSettingsFiles)
  int scale_ = 1;  // the whole factor the window is drawn at
  int colourFocus_ = 0;

  HWND nameBox_ = nullptr;
  HWND focusBeforeLeaving_ = nullptr;  // the focused control when another window was activated
  HWND nameCounter_ = nullptr;
  HWND serverNameTip_ = nullptr;
  bool nameOverLimit_ = false;
  std::unique_ptr<ImageButton> keypadButton_;
  std::unique_ptr<ImageButton> saveButton_;
  std::unique_ptr<PictureControl> preview_;
  std::unique_ptr<PictureControl> historyArea_;
  std::unique_ptr<PictureControl> letters_;
  std::array<std::unique_ptr<PictureControl>, 8> colourBoxes_;
  std::int16_t historyMarkerTop_ = 16;
  Point letterMarkerTwips_{0, 0};
  GdiObject<HBRUSH> bandBrush_;
  GdiObject<HFONT> font_;
  GdiObject<HFONT> counterFont_;  // the system's, at the window's DPI: counter and tooltip
  HMENU deleteMenu_ = nullptr;
  HMENU saveMenu_ = nullptr;
};

}  // namespace pelorin::win
