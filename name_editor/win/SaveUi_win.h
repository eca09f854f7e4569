#pragma once

#include <windows.h>

#include <string>

#include "FileSystem.h"
#include "NameSaves.h"

namespace pelorin::win {

inline constexpr char kProgramTitle[] = "Pelorin";

// What a save shows, owned by the window the save runs from: while a message or the game
// folder locator is up, that window and those behind it take no input, so no second save
// can start and the main window cannot close halfway through one.
class WindowSaveUi : public SaveUi {
 public:
  WindowSaveUi(FileSystem& files, HWND owner) : files_(files), owner_(owner) {}

  bool LocateGameFolder(std::string& gameFolder) override;
  void ShowError(const std::string& text) override;
  void ShowInformation(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;

 private:
  FileSystem& files_;
  HWND owner_;
};

}  // namespace pelorin::win
