#pragma once

#include <cstddef>
#include <string>

#include "AppWindows.h"
#include "FileSystem.h"
#include "Processes.h"
#include "Registry.h"
#include "SelfRemoval.h"

namespace pelorin {

// What the uninstaller's window shows and asks.
class UninstallUi {
 public:
  virtual ~UninstallUi() = default;
  // A message with an OK button, before the window is shown.
  virtual void Tell(const std::string& text) = 0;
  virtual void Show() = 0;
  virtual void ShowStatus(const std::string& text) = 0;
  // Entry `index` of `count` has been handled.
  virtual void ShowProgress(std::size_t index, std::size_t count) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool Ask(const std::string& text, const std::string& caption) = 0;
};

struct UninstallServices {
  FileSystem& files;
  Registry& registry;
  Processes& processes;
  AppWindows& windows;
  UninstallUi& ui;
};

// Where the uninstaller stands; `self.programPath` lies in the install folder.
struct UninstallPlace {
  SelfRemovalPaths self;
  std::string systemFolder;
};

inline constexpr char kLogMissingMessage[] = "Install.log not found!";
inline constexpr char kConfirmCaption[] = "Proceed with Uninstall?";
inline constexpr char kSystemFileCaption[] = "Uninstall System File?";
// How long the installed program may take over its own uninstall start.
inline constexpr unsigned long kProgramWaitMs = 5 * 60 * 1000;

enum class UninstallEnd { kLogMissing, kDeclined, kRemoved };

// The whole removal: reads the log, asks, closes the installed program and lets it undo its
// own settings, removes the logged entries with the folders they leave empty, then the log
// and the removal registration, and starts the batch file that removes the rest.
UninstallEnd RunUninstall(const UninstallServices& services, const UninstallPlace& place);

// Removes `folder` and each of its parents that is empty, up to the drive; failures are
// ignored, so a folder that still holds something stays.
void RemoveEmptyFolders(FileSystem& files, const std::string& folder);

// How many of `width` pixels the progress bar fills once entry `index` of `count` is done:
// the whole bar after the last entry, also when there is only one.
int BarFill(std::size_t index, std::size_t count, int width);

}  // namespace pelorin
