#include "SaveUi_win.h"

#include "FindGameDialog_win.h"
#include "MessageBox_win.h"

namespace pelorin::win {

String AskForGameFolder(FileSystem& files, Registry& registry, HWND owner) {
  FindGameDialog dialog(files, registry);
  return dialog.Run(owner);
}

bool WindowSaveUi::LocateGameFolder(String& gameFolder) {
  String folder = AskForGameFolder(services_.files, services_.registry, owner_);
  if (folder.empty()) return false;
  gameFolder = std::move(folder);
  return true;
}

void WindowSaveUi::ShowError(const String& text) {
  ShowMessageBox(owner_, text, kProgramTitle, MB_OK);
}

void WindowSaveUi::ShowInformation(const String& text) {
  ShowMessageBox(owner_, text, kProgramTitle, MB_OK | MB_ICONINFORMATION);
}

// Its questions hold the player's name, in the game's bytes, which are the ANSI code page's
// text; never a path.
bool WindowSaveUi::AskYesNo(const String& text) {
  return MessageBoxA(owner_, text.c_str(), kProgramTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace pelorin::win
