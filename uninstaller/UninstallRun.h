#pragma once

#include <cstddef>
#include "Str.h"
#include <string_view>
#include <vector>

#include "AppWindows.h"
#include "FileSystem.h"
#include "InstallRecord.h"
#include "Processes.h"
#include "Registry.h"
#include "SelfRemoval.h"

namespace pelorin {

// What the uninstaller's window shows and asks.
class UninstallUi {
 public:
  virtual ~UninstallUi() = default;
  // A message with an OK button.
  virtual void Tell(std::string_view text) = 0;
  virtual void Show() = 0;
  virtual void ShowStatus(std::string_view text) = 0;
  // Entry `index` of `count` has been handled.
  virtual void ShowProgress(std::size_t index, std::size_t count) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool Ask(std::string_view text, std::string_view caption) = 0;
  // A warning with Retry and Cancel; true for Retry.
  virtual bool AskRetry(std::string_view text) = 0;
};

struct UninstallServices {
  FileSystem& files;
  Registry& registry;
  Processes& processes;
  AppWindows& windows;
  UninstallUi& ui;
};

// Where the uninstaller stands; `programPath` lies in the install folder.
struct UninstallPlace {
  String programPath;
  String systemFolder;
  String temporaryFolder;
  PrivateFolderSource folderSource;  // names the batch file's folder and gives its rights
  std::vector<String> programsFolders;  // the Start Menu's Programs folders
  // Where the system puts the writes of programs without a manifest into protected folders
  // (%LOCALAPPDATA%\VirtualStore), or empty on systems that do not.
  String virtualStore;
  // The user's %APPDATA%, where the editor of an install for every user keeps its settings.
  String appData;
  // Whether this run has administrator rights, which a removal for every user needs.
  bool elevated = true;
  // A path as the command interpreter reads it in a batch file; the path itself when null.
  String (*consoleName)(const String& path) = nullptr;
  // Starts the uninstaller's copy at `copyPath` (OriginalRemoval), which deletes this
  // program's file once it has ended, then `installFolder` and, of the `levels` folders from
  // it upwards, each that is empty; false when it is not started. Null: no copy can be run.
  bool (*startCopy)(const String& copyPath, const String& installFolder, std::size_t levels) = nullptr;
};

inline constexpr char kLogMissingMessage[] = "Install.log not found!";
inline constexpr char kConfirmCaption[] = "Proceed with Uninstall?";
inline constexpr char kSystemFileCaption[] = "Uninstall System File?";
// How long the installed program may take over its own uninstall start.
inline constexpr unsigned long kProgramWaitMs = 5 * 60 * 1000;
// How long the editor may take to end after the close request, before the user is asked.
inline constexpr unsigned long kEditorCloseWaitMs = 10 * 1000;
// How long regsvr32 may take to unregister a system file.
inline constexpr unsigned long kUnregisterWaitMs = 60 * 1000;

enum class UninstallEnd {
  kLogMissing,     // no readable install log of this program: nothing changed
  kNeedsRights,    // an install for every user, and this run lacks administrator rights: nothing changed
  kDeclined,       // the user said No
  kEditorRunning,  // the editor did not end: nothing removed
  kIncomplete,     // some files stay; the log names them and the registration is kept, or only
                   // the uninstaller's own removal could not be set up
  kRemoved,
};

// The whole removal: reads the log, finds the install's scope by its own registration
// (ScopeOfInstall), asks, closes the installed program and lets it undo its
// own settings, removes the logged entries with the folders they leave empty, then the log
// and the removal registration, and starts the batch file that removes the rest.
UninstallEnd RunUninstall(const UninstallServices& services, const UninstallPlace& place);

// Removes the folders that earlier runs left for their batch files, where they are empty: an
// interpreter that keeps its batch file open until it ends cannot remove the folder itself.
void RemoveEmptyBatchFolders(FileSystem& files, const String& temporaryFolder);

// Removes `folder` and each of its parents that is empty, up to, not including, `stopFolder`;
// failures are ignored, so a folder that still holds something stays.
void RemoveEmptyFolders(FileSystem& files, const String& folder, std::string_view stopFolder);

// How many of `width` pixels the progress bar fills once entry `index` of `count` is done:
// the whole bar after the last entry, also when there is only one.
int BarFill(std::size_t index, std::size_t count, int width);

}  // namespace pelorin
