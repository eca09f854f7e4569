#include "NameSaves.h"

#include <algorithm>

#include "ConfigWriter.h"
#include "GameFolder.h"

namespace pelorin {

namespace {

// Records the name as saved: it becomes the last saved name and enters the history. A name
// that game servers would show with other characters is saved only when the user says so, before anything is
// recorded; so is any save while the game runs, which would write its own name over this one.
// kSaved means the save goes on.
SaveOutcome BeginSave(Processes& processes, SaveUi& ui, EditorState& state, const std::string& name) {
  if (!NameFitsConfigLine(name)) {
    ui.ShowError(kNameRefusedMessage);
    return SaveOutcome::kNameRefused;
  }
  if (const ServerName server = ServerNameOf(name); server.AskBeforeSaving() && !ui.AskYesNo(ServerNameQuestion(server)))
    return SaveOutcome::kDeclined;
  if (IsEngineRunning(processes.RunningProgramNames()) && !ui.AskYesNo(kGameRunningQuestion))
    return SaveOutcome::kGameRunning;
  state.lastSavedName = name;
  state.history.AddName(name);
  state.gameFolder = WithTrailingBackslash(state.gameFolder);
  return SaveOutcome::kSaved;
}

SaveOutcome SaveMod(FileSystem& files, SaveUi& ui, const std::string& folder, const std::string& name) {
  const ModSaveResult result = SaveNameToMod(files, folder, name);
  if (!result.error) return SaveOutcome::kSaved;
  ui.ShowError(UnhandledErrorText(result.error, folder));
  return SaveOutcome::kFailed;
}

SaveOutcome SaveMods(FileSystem& files, SaveUi& ui, const std::string& gameFolder,
                     const std::vector<std::string>& mods, const std::string& name) {
  for (const std::string& mod : mods)
    if (SaveMod(files, ui, gameFolder + mod, name) != SaveOutcome::kSaved) return SaveOutcome::kFailed;
  return SaveOutcome::kSaved;
}

// The home path's mods, when it exists; nothing is made there.
SaveOutcome SaveHomeMods(FileSystem& files, SaveUi& ui, const std::string& homePath, const std::string& name) {
  if (homePath.empty() || !files.FolderExists(homePath)) return SaveOutcome::kSaved;
  std::vector<std::string> mods;
  if (const FileError error = files.ListFolders(homePath, mods)) {
    ui.ShowError(UnhandledErrorText(error, homePath));
    return SaveOutcome::kFailed;
  }
  return SaveMods(files, ui, WithTrailingBackslash(homePath), mods, name);
}

}  // namespace

bool EnsureGameFolder(FileSystem& files, SaveUi& ui, std::string& gameFolder) {
  while (!files.FolderExists(gameFolder)) {
    if (!ui.LocateGameFolder(gameFolder)) return false;
  }
  gameFolder = WithTrailingBackslash(gameFolder);
  return true;
}

SaveOutcome SaveToAllMods(FileSystem& files, Processes& processes, SaveUi& ui, EditorState& state,
                          const std::string& name) {
  if (const SaveOutcome begun = BeginSave(processes, ui, state, name); begun != SaveOutcome::kSaved) return begun;
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
  if (SaveMods(files, ui, state.gameFolder, mods, name) != SaveOutcome::kSaved) return SaveOutcome::kFailed;
  return SaveHomeMods(files, ui, state.homePath, name);
}

SaveOutcome SaveToChosenMods(FileSystem& files, Processes& processes, SaveUi& ui, EditorState& state,
                             const std::string& name, const std::vector<std::string>& mods) {
  if (mods.empty()) {
    ui.ShowInformation(kNothingCheckedMessage);
    return SaveOutcome::kNothingChosen;
  }
  if (const SaveOutcome begun = BeginSave(processes, ui, state, name); begun != SaveOutcome::kSaved) return begun;
  if (!EnsureGameFolder(files, ui, state.gameFolder)) return SaveOutcome::kNoGameFolder;
  const std::string home = state.homePath.empty() ? std::string() : WithTrailingBackslash(state.homePath);
  for (const std::string& mod : mods) {
    // A mod that only the home path has is saved there alone; one the game folder lost and
    // the home path lacks is reported, as before.
    const bool atHome = !home.empty() && files.FolderExists(home + mod);
    if ((!atHome || files.FolderExists(state.gameFolder + mod)) &&
        SaveMod(files, ui, state.gameFolder + mod, name) != SaveOutcome::kSaved)
      return SaveOutcome::kFailed;
    if (atHome && SaveMod(files, ui, home + mod, name) != SaveOutcome::kSaved) return SaveOutcome::kFailed;
  }
  return SaveOutcome::kSaved;
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
