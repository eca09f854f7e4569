#pragma once

#include "Str.h"
#include <vector>

#include "ConfigWriter.h"
#include "FileSystem.h"
#include "NameHistory.h"
#include "Processes.h"
#include "ServerName.h"

namespace pelorin {

// The editor state that saving reads and changes.
struct EditorState {
  String gameFolder;
  String homePath;  // the engine's home path; saves cover it while it exists
  String lastSavedName;
  NameHistory history;
};

// What a save needs from the windows around it.
class SaveUi {
 public:
  // Shows the game folder locator; true when the user accepted a folder, now in `gameFolder`.
  virtual bool LocateGameFolder(String& gameFolder) = 0;
  virtual void ShowError(const String& text) = 0;
  virtual void ShowInformation(const String& text) = 0;
  // Asks a question with Yes and No; true for Yes.
  virtual bool AskYesNo(const String& text) = 0;

 protected:
  ~SaveUi() = default;
};

enum class SaveOutcome {
  kSaved,           // every file written; the history needs redrawing
  kNothingChosen,   // no mod was checked; nothing changed
  kNameRefused,     // the name cannot stand in a configuration line; nothing changed
  kDeclined,        // the user kept a name that servers would change from saving; nothing changed
  kGameRunning,     // the game runs and the user chose to close it first; nothing changed
  kNoGameFolder,    // the game folder is gone and the user chose none; nothing written
  kFailed,          // some files could not be written; the user was told, all others are saved
};

// Literals behind pointers: the compiler aligns a named array of 32 bytes or more to 32 bytes.
inline constexpr const char* kNothingCheckedMessage =
    "You didn't select any mods!  Make sure you place checks next to those you wish to save to!";
inline constexpr const char* kNameRefusedMessage =
    "This name cannot be saved: it holds a line break or a double quote, which would break the "
    "game's configuration line, or it is longer than the game reads in one line (1011 characters).  "
    "Change it and save again.";
inline constexpr const char* kGameRunningQuestion =
    "Quake 3 is running. It writes its configuration again when it quits, which undoes this save. "
    "Close the game first, or save anyway?";

// The question asked before saving a name that game servers would show otherwise.
String ServerNameQuestion(const ServerName& server);

// Makes sure the game folder exists, offering the locator while it does not. False when the
// user closed the locator without choosing a folder.
bool EnsureGameFolder(FileSystem& files, SaveUi& ui, String& gameFolder);

// Writes `name` into every configuration file of every mod folder, in the game folder and in
// the engine's home path. While the game runs, only when the user says so. A file that cannot
// be saved is named at the end, after every other was saved.
SaveOutcome SaveToAllMods(FileSystem& files, Processes& processes, SaveUi& ui, EditorState& state,
                          const String& name);

// Writes `name` into the configuration files of the named mod folders only, in each of the
// two places that has the mod.
SaveOutcome SaveToChosenMods(FileSystem& files, Processes& processes, SaveUi& ui, EditorState& state,
                             const String& name, const std::vector<String>& mods);

// "Unhandled error!", then a line for each file not saved, as the saves report.
String UnhandledErrorText(const std::vector<FileFailure>& failures);

// An error's number and description, the path, and the system's reason.
String FailureLine(const FileError& error, const String& path);

}  // namespace pelorin
