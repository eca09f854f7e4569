#pragma once

#include <windows.h>

#include "Str.h"

#include "Dialog_win.h"
#include "FileSystem.h"
#include "Registry.h"

namespace pelorin::win {

// "Where is Quake 3?": browse drives and folders until the folder holds the game; accepting
// it returns the folder. Opening on a valid folder accepts it at once, unseen: the current
// folder, or else the first edition of the game that the registry names.
class FindGameDialog : public Dialog {
 public:
  FindGameDialog(FileSystem& files, Registry& registry) : files_(files), registry_(registry) {}

  // The accepted folder, or an empty text when the dialog was closed otherwise (every folder
  // the dialog shows has a path).
  String Run(HWND owner);

 private:
  void OnInit() override;
  void OnCommand(int id, int notification) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  void FillDrives();
  void ChangeFolder(const String& folder);
  void OpenSelectedFolder();
  void ChangeDrive();
  void OnButton();

  FileSystem& files_;
  Registry& registry_;
  String folder_;
  bool valid_ = false;
  String accepted_;
};

}  // namespace pelorin::win
