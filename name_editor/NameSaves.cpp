#include "NameSaves.h"

#include <algorithm>

#include "ConfigWriter.h"

namespace pelorin {

namespace {

// Records the name as saved: it becomes the last saved name and enters the history. A name
// that game servers would show with other characters is saved only when the user says so,
// before anything is recorded; kSaved means the save goes on.
SaveOutcome BeginSave(SaveUi& ui, EditorState& state, const std::string& name) {
  if (!NameFitsConfigLine(name)) {
    ui.ShowError(kNameRefusedMessage);
    return SaveOutcome::kNameRefused;
  }
  if (const ServerName server = ServerNameOf(name); server.AskBeforeSaving() && !ui.AskYesNo(ServerNameQuestion(server)))
    return SaveOutcome::kDeclined;
  state.lastSavedName = name;
  state.history.AddName(name);
  state.gameFolder = WithTrailingBackslash(state.gameFolder);
  return SaveOutcome::kSaved;
}

SaveOutcome SaveMods(FileSystem& files, SaveUi& ui, const std::string& gameFolder,
                     const std::vector<std::string>& mods, const std::string& name) {
  for (const std::string& mod : mods) {
    const std::string folder = gameFolder + mod;
    const ModSaveResult result = SaveNameToMod(files, folder, name);
    if (result.error) {
      ui.ShowError(UnhandledErrorText(result.error, folder));
      return SaveOutcome::kFailed;
    }
  }
  return SaveOutcome::kSaved;
}

}  // namespace

bool EnsureGameFolder(FileSystem& files, SaveUi& ui, std::string& gameFolder) {
  while (!files.FolderExists(gameFolder)) {
    if (!ui.LocateGameFolder(gameFolder)) return false;
  }
  gameFolder = WithTrailingBackslash(gameFolder);
  return true;
}

SaveOutcome SaveToAllMods(FileSystem& files, SaveUi& ui, EditorState& state, const std::string& name) {
  if (const SaveOutcome begun = BeginSave(ui, state, name); begun != SaveOutcome::kSaved) return begun;
  std::vector<std::string> mods;
  // A folder that exists and still cannot be listed (a path past the system's length limit)
  // fails the same way each time: the locator is offered once for it, then it is reported.
  std::vector<std::string> offeredFor;
  for (;;) {
    if (!EnsureGameFolder(files, ui, state.gameFolder)) return SaveOutcome::kNoGameFolder;
    const FileError error = files.ListFolders(state.gameFolder, mods);
    if (!error) break;
    if (error.kind != FileError::Kind::kPathNotFound ||
        std::find(offeredFor.begin(), offeredFor.end(), state.gameFolder) != offeredFor.end()) {
      ui.ShowError(UnhandledErrorText(error, state.gameFolder));
      return SaveOutcome::kFailed;
    }
    offeredFor.push_back(state.gameFolder);
    if (!ui.LocateGameFolder(state.gameFolder)) return SaveOutcome::kNoGameFolder;
  }
  return SaveMods(files, ui, state.gameFolder, mods, name);
}

SaveOutcome SaveToChosenMods(FileSystem& files, SaveUi& ui, EditorState& state,
                             const std::string& name, const std::vector<std::string>& mods) {
  if (mods.empty()) {
    ui.ShowInformation(kNothingCheckedMessage);
    return SaveOutcome::kNothingChosen;
  }
  if (const SaveOutcome begun = BeginSave(ui, state, name); begun != SaveOutcome::kSaved) return begun;
  if (!EnsureGameFolder(files, ui, state.gameFolder)) return SaveOutcome::kNoGameFolder;
  return SaveMods(files, ui, state.gameFolder, mods, name);
}

std::string ServerNameQuestion(const ServerName& server) {
  return "Game servers will show this name as\r\n\r\n" + ServerNameResults(server) + "\r\n\r\n" + ServerNameReasons(server) +
         "\r\nSave it as typed?";
}

std::string UnhandledErrorText(const FileError& error, const std::string& path) {
  int number = 75;
  std::string description = "Path/File access error";
  switch (error.kind) {
    case FileError::Kind::kPathNotFound: number = 76; description = "Path not found"; break;
    case FileError::Kind::kFileNotFound: number = 53; description = "File not found"; break;
    case FileError::Kind::kAccessDenied: number = 70; description = "Permission denied"; break;
    case FileError::Kind::kDiskFull: number = 61; description = "Disk full"; break;
    case FileError::Kind::kNone:
    case FileError::Kind::kOther: break;
  }
  return "Unhandled error!\r\n" + std::to_string(number) + " - " + description + ": " + path +
         " (" + error.message + ", system error " + std::to_string(error.systemCode) + ")";
}

}  // namespace pelorin
