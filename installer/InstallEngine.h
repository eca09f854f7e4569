#pragma once

#include <cstddef>
#include <cstdint>
#include "Str.h"
#include <string_view>
#include <vector>

#include "AppWindows.h"
#include "FilePack.h"
#include "FileSystem.h"
#include "InstallScope.h"
#include "Processes.h"
#include "Registry.h"
#include "SetupData.h"
#include "Shell.h"

namespace pelorin {

// What the install engine shows and asks while it works; the older-file question comes
// from the pack operations.
class InstallUi : public PackUi {
 public:
  // The progress texts, shown whenever they change.
  virtual void ShowProgress(const String& percentText, const String& statusText) = 0;
  // The bar, filled to `done` of `total` parts.
  virtual void ShowBar(std::size_t done, std::size_t total) = 0;
  virtual void ShowCaption(const String& caption) = 0;
  // A message the user confirms with OK: a notice, or a report of what went wrong.
  virtual void ShowMessage(const String& text, bool problem) = 0;
  // A question with Retry and Cancel; true for Retry.
  virtual bool AskRetry(const String& text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool AskYesNo(const String& text) = 0;

 protected:
  ~InstallUi() = default;
};

struct InstallServices {
  FileSystem& files;
  Registry& registry;
  Processes& processes;
  Shell& shell;
  InstallUi& ui;
  AppWindows& windows;
};

// What the wizard collected and the start-up unpacked.
struct InstallRequest {
  const SetupInfo* info = nullptr;
  const std::vector<String>* shortcuts = nullptr;  // the shortcut list's lines
  String installPath;             // as typed; a backslash is added when missing
  bool runAfterInstall = false;        // the run box is checked
  bool quiet = false;                  // nobody answers: a running program is asked to close
  InstallScope scope = InstallScope::kMachine;
  String accountSid;              // the running account, whose folders an install for it alone gets
  std::string_view packList;  // where the pack list and data were read from, as messages name them
  // The setup information, the shortcut list, the pack list as setup read it (a list that
  // could not be read holds its error) and its data held open: all must be given, and all
  // the texts stay for the install's length.
  const PackList* list = nullptr;
  FileReader* data = nullptr;
};

// "50% Installed": the whole percentage of `done` out of `total`.
String PercentInstalledText(std::size_t done, std::size_t total);

// A shortcut list line: link name, byte 0xFF, target relative to the install folder, byte
// 0xFE, folder below the Start Menu ending in a backslash. The parts lie in the line read.
struct ShortcutLine {
  std::string_view name;
  std::string_view target;
  std::string_view folder;
};
// False when a separator is missing, a part would lead outside its folder, or the shortcut
// file's name is one that Windows would change or take for something else.
bool ParseShortcutLine(std::string_view line, ShortcutLine& shortcut);

inline constexpr char kInstallingCaption[] = "Installing...Please Wait...";
inline constexpr char kApplicationInstalled[] = "Application Installed";
inline constexpr char kCreatingLinks[] = "Creating Application Links...";
inline constexpr char kCouldNotBeLaunched[] = " could not be launched!";
// After the program's path, when setup has administrator rights and the desktop cannot start it.
inline constexpr char kStartItYourself[] = " is installed. Start it from there or from the Start Menu.";
// After the application's name, when its window is open or its program file in use.
inline constexpr char kRunningQuestion[] =
    " is running. Close it and press Retry, or press Cancel to stop the installation.";
// How long a quiet install waits for the running program to close.
inline constexpr unsigned long kQuietCloseWaitMs = 10000;
// How long setup waits for an earlier install's quiet removal; that waits up to five
// minutes for the program it starts.
inline constexpr unsigned long kEarlierRemovalWaitMs = 6 * 60 * 1000;
// How long regsvr32 may take to register a system file.
inline constexpr unsigned long kRegisterWaitMs = 60 * 1000;
// Between the earlier install's folder and the one chosen now.
inline constexpr char kEarlierInstallQuestion[] = "An earlier install of this application is in\r\n\r\n";
inline constexpr char kEarlierInstallQuestionEnd[] =
    "\r\n\r\nRemove it before installing here? With No both stay, and only the new one is in the "
    "list of programs that can be removed.";

enum class InstallResult {
  kInstalled,       // every file is in place
  kWithFailures,    // some files, a shortcut, a registration value, a registering or the earlier
                    // install's removal failed; the user has been told which
  kStopped,         // nothing was copied; the user has been told why
  kCancelled,       // nothing was copied: the user cancelled while the program was running
};

// Installs the pack's files into the install folder and the system folder, writes the install
// log, registers the application for removal, makes its shortcuts and starts it when asked.
// Nothing is copied while the application's window is open or its program file in use.
InstallResult Install(InstallServices& services, const InstallRequest& request);

}  // namespace pelorin
