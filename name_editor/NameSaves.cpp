#include "NameSaves.h"

#include "Concat.h"
#include "ConfigWriter.h"
#include "DecimalText.h"
#include "GameFolder.h"

namespace pelorin {

namespace {

// Records the name as saved: it becomes the last saved name and enters the history. A name
// that game servers would show with other characters is saved only when the user says so, before anything is
// recorded; so is any save while the game runs, which would write its own name over this one.
// kSaved means the save goes on.
SaveOutcome BeginSave(Processes& processes, SaveUi& ui, EditorState& state, const String& name) {
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

using Failures = std::vector<FileFailure>;

void SaveMod(FileSystem& files, const String& folder, const String& name, Failures& failures) {
  ModSaveResult result = SaveNameToMod(files, folder, name);
  for (FileFailure& failure : result.failures) failures.push_back(std::move(failure));
}

void SaveMods(FileSystem& files, const String& gameFolder, const std::vector<String>& mods,
              const String& name, Failures& failures) {
  for (const String& mod : mods) SaveMod(files, gameFolder + mod, name, failures);
}

// The home path's mods, when it exists; nothing is made there.
void SaveHomeMods(FileSystem& files, const String& homePath, const String& name, Failures& failures) {
  if (homePath.empty() || !files.FolderExists(homePath)) return;
  std::vector<String> mods;
  if (FileError error = files.ListFolders(homePath, mods)) {
    failures.push_back({homePath, std::move(error)});
    return;
  }
  SaveMods(files, WithTrailingBackslash(homePath), mods, name, failures);
}

// One message names every file that was not saved, after all the others were.
SaveOutcome Report(SaveUi& ui, const Failures& failures) {
  if (failures.empty()) return SaveOutcome::kSaved;
  ui.ShowError(UnhandledErrorText(failures));
  return SaveOutcome::kFailed;
}

}  // namespace

bool EnsureGameFolder(FileSystem& files, SaveUi& ui, String& gameFolder) {
  while (!files.FolderExists(gameFolder)) {
    if (!ui.LocateGameFolder(gameFolder)) return false;
  }
  gameFolder = WithTrailingBackslash(gameFolder);
  return true;
}

SaveOutcome SaveToAllMods(FileSystem& files, Processes& processes, SaveUi& ui, EditorState& state,
                          const String& name) {
  if (const SaveOutcome begun = BeginSave(processes, ui, state, name); begun != SaveOutcome::kSaved) return begun;
  std::vector<String> mods;
  // A folder that exists and still cannot be listed (a path past the system's length limit)
  // fails the same way each time: the locator is offered once for it, then it is reported.
  std::vector<String> offeredFor;
  Failures failures;
  for (;;) {
    if (!EnsureGameFolder(files, ui, state.gameFolder)) return SaveOutcome::kNoGameFolder;
    const FileError error = files.ListFolders(state.gameFolder, mods);
    if (!error) break;
    bool offered = false;
    for (const String& folder : offeredFor) offered |= folder == state.gameFolder;
    if (error.kind != FileError::Kind::kPathNotFound || offered) {
      failures.push_back({state.gameFolder, error});
      return Report(ui, failures);
    }
    offeredFor.push_back(String(state.gameFolder));  // moved in: the program keeps one way of adding strings
    if (!ui.LocateGameFolder(state.gameFolder)) return SaveOutcome::kNoGameFolder;
  }
  SaveMods(files, state.gameFolder, mods, name, failures);
  SaveHomeMods(files, state.homePath, name, failures);
  return Report(ui, failures);
}

SaveOutcome SaveToChosenMods(FileSystem& files, Processes& processes, SaveUi& ui, EditorState& state,
                             const String& name, const std::vector<String>& mods) {
  if (mods.empty()) {
    ui.ShowInformation(kNothingCheckedMessage);
    return SaveOutcome::kNothingChosen;
  }
  if (const SaveOutcome begun = BeginSave(processes, ui, state, name); begun != SaveOutcome::kSaved) return begun;
  if (!EnsureGameFolder(files, ui, state.gameFolder)) return SaveOutcome::kNoGameFolder;
  const String home = state.homePath.empty() ? String() : WithTrailingBackslash(state.homePath);
  Failures failures;
  for (const String& mod : mods) {
    // A mod that only the home path has is saved there alone; one the game folder lost and
    // the home path lacks is reported, as before.
    const bool atHome = !home.empty() && files.FolderExists(home + mod);
    if (!atHome || files.FolderExists(state.gameFolder + mod)) SaveMod(files, state.gameFolder + mod, name, failures);
    if (atHome) SaveMod(files, home + mod, name, failures);
  }
  return Report(ui, failures);
}

String ServerNameQuestion(const ServerName& server) {
  return Concat({"Game servers will show this name as\r\n\r\n", ServerNameResults(server), "\r\n\r\n",
                 ServerNameReasons(server), "\r\nSave it as typed?"});
}

String UnhandledErrorText(const std::vector<FileFailure>& failures) {
  String text = "Unhandled error!";
  for (const FileFailure& failure : failures) {
    text += "\r\n";
    text += FailureLine(failure.error, failure.path);
  }
  return text;
}

String FailureLine(const FileError& error, const String& path) {
  std::uint32_t number = 75;
  const char* description = "Path/File access error";
  switch (error.kind) {
    case FileError::Kind::kPathNotFound: number = 76; description = "Path not found"; break;
    case FileError::Kind::kFileNotFound: number = 53; description = "File not found"; break;
    case FileError::Kind::kAccessDenied: number = 70; description = "Permission denied"; break;
    case FileError::Kind::kDiskFull: number = 61; description = "Disk full"; break;
    case FileError::Kind::kNone:
    case FileError::Kind::kOther: break;
  }
  return Concat({WholeNumberText(number), " - ", description, ": ", path, " (", FileErrorText(error),
                 error.systemCode != 0 ? ", system error " : "",
                 error.systemCode != 0 ? WholeNumberText(static_cast<std::uint32_t>(error.systemCode)) : String(), ")"});
}

}  // namespace pelorin
