#pragma once

#include <windows.h>

#include <string>

#include "Dialog_win.h"
#include "FileSystem.h"
#include "NameSaves.h"

namespace pelorin::win {

// "Choose Mod to Save to:": the mods that hold a configuration file, each with a check box;
// Save writes the name into the checked ones and closes the dialog.
class ModChooserDialog : public Dialog {
 public:
  ModChooserDialog(FileSystem& files, EditorState& state, std::string name)
      : files_(files), state_(state), name_(std::move(name)) {}

  // True when the name was saved.
  bool Run(HWND owner);

 private:
  void OnInit() override;
  void OnCommand(int id, int notification) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  void Toggle(int index);
  void Save();
  static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

  FileSystem& files_;
  EditorState& state_;
  std::string name_;
  bool saved_ = false;
  WNDPROC listProcedure_ = nullptr;  // the list box's own, under the check-mark handling
};

}  // namespace pelorin::win
