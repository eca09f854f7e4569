#pragma once

#include <windows.h>

#include "Str.h"

#include "FileSystem.h"
#include "NameSaves.h"
#include "Processes.h"
#include "Registry.h"

namespace pelorin::win {

inline constexpr char kProgramTitle[] = "Pelorin";

// What the saves and the dialogs they open work on: the files, the running programs (the
// game may be among them) and the registry (where the game's editions are recorded).
struct SaveServices {
  FileSystem& files;
  Processes& processes;
  Registry& registry;
};

// The game folder the user picks in the locator, owned by `owner`; empty when none was.
String AskForGameFolder(FileSystem& files, Registry& registry, HWND owner);

// What a save shows, owned by the window the save runs from: while a message or the game
// folder locator is up, that window and those behind it take no input, so no second save
// can start and the main window cannot close halfway through one.
class WindowSaveUi : public SaveUi {
 public:
  WindowSaveUi(const SaveServices& services, HWND owner) : services_(services), owner_(owner) {}

  bool LocateGameFolder(String& gameFolder) override;
  void ShowError(const String& text) override;
  void ShowInformation(const String& text) override;
  bool AskYesNo(const String& text) override;

 private:
  SaveServices services_;
  HWND owner_;
};

}  // namespace pelorin::win
