#pragma once

#include <windows.h>

#include "Str.h"

#include "Dialog_win.h"
#include "FileSystem.h"
#include "NameSaves.h"
#include "SaveUi_win.h"

namespace pelorin::win {

// "Choose Mod to Save to:": the mods that hold a configuration file, in the game folder or
// the engine's home path, each once with a check box; Save writes the name into the checked
// ones and closes the dialog.
class ModChooserDialog : public Dialog {
 public:
  ModChooserDialog(const SaveServices& services, EditorState& state, String name)
      : services_(services), state_(state), name_(std::move(name)) {}

  // True when the name was saved.
  bool Run(HWND owner);

 private:
  void OnInit() override;
  void OnCommand(int id, int notification) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  void Toggle(int index);
  void Save();
  static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

  SaveServices services_;
  EditorState& state_;
  String name_;
  bool saved_ = false;
  WNDPROC listProcedure_ = nullptr;  // the list box's own, under the check-mark handling
};

}  // namespace pelorin::win
