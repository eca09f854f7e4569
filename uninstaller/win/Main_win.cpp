#include <windows.h>

#include <iterator>

#include "AppWindows_win.h"
#include "CommandLine.h"
#include "Concat.h"
#include "ConsolePath_win.h"
#include "DllHardening_win.h"
#include "Elevation_win.h"
#include "FileSystem_win.h"
#include "ObjectRights_win.h"
#include "OriginalRemoval_win.h"
#include "Processes_win.h"
#include "ProgramArguments_win.h"
#include "QuietUninstallUi.h"
#include "Registry_win.h"
#include "RunAccount_win.h"
#include "ShellFolders_win.h"
#include "Shell_win.h"
#include "SystemPaths_win.h"
#include "UninstallMain_win.h"
#include "UninstallWindow_win.h"
#include "UsageMessage_win.h"
#include "WideText_win.h"

namespace {

// The exit code of each UninstallEnd, in its order.
constexpr int kExitCodes[] = {pelorin::kExitFailed,         pelorin::kExitStopped,    pelorin::kExitFailed,
                              pelorin::kExitProgramRunning, pelorin::kExitIncomplete, pelorin::kExitDone};
static_assert(std::size(kExitCodes) == static_cast<std::size_t>(pelorin::UninstallEnd::kRemoved) + 1);

constexpr int kPrograms = 0x0002;        // CSIDL_PROGRAMS
constexpr int kCommonPrograms = 0x0017;  // CSIDL_COMMON_PROGRAMS
constexpr int kLocalAppData = 0x001C;    // CSIDL_LOCAL_APPDATA

// The Start Menu's Programs folders, the user's and all users'.
std::vector<pelorin::String> ProgramsFolders() {
  std::vector<pelorin::String> folders;
  for (int csidl : {kPrograms, kCommonPrograms})
    if (pelorin::String folder = pelorin::ShellFolderPath(csidl); !folder.empty()) folders.push_back(std::move(folder));
  return folders;
}

pelorin::String VirtualStore() {
  const pelorin::String local = pelorin::ShellFolderPath(kLocalAppData);
  return local.empty() ? pelorin::String() : local + "\\VirtualStore";
}

}  // namespace

int pelorin::win::RunUninstall() {
  pelorin::HardenDllLoading();
  bool exact = true;
  const pelorin::String arguments = pelorin::ProgramArguments(exact);
  // The copy that an uninstaller on another drive started to delete it.
  if (const auto removal = pelorin::ParseOriginalRemoval(arguments))
    return pelorin::win::FinishOriginalRemoval(*removal);
  pelorin::CommandLine line = pelorin::ParseCommandLine(arguments, false);
  if (!exact && line.Valid()) line.unknown = "(a character that is no text)";
  if (line.help || !line.Valid()) return pelorin::win::AnswerUsage(line, pelorin::kUninstallUsage, "Uninstall");
  pelorin::UninstallPlace place{.programPath = pelorin::ProgramPath(),
                                .systemFolder = pelorin::SystemFolder(),
                                .temporaryFolder = pelorin::TemporaryFolder(),
                                .folderSource = pelorin::PrivateFolderSourceOfThisRun(),
                                .programsFolders = ProgramsFolders(),
                                .virtualStore = VirtualStore(),
                                .appData = pelorin::AppDataFolder(),
                                .consoleName = pelorin::win::ConsolePath,
                                .startCopy = pelorin::win::StartOriginalRemoval};
  // A folder that is some program's current folder cannot be removed: neither this program
  // nor what it starts may stand in the install folder.
  SetCurrentDirectoryW(pelorin::Wide(place.systemFolder).c_str());

  pelorin::Win32GuardedFileSystem files;
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  pelorin::Win32AppWindows windows;
  pelorin::QuietUninstallUi quiet;
  pelorin::win::UninstallWindow window;
  if (!line.quiet && !window.Open()) return pelorin::kExitFailed;
  pelorin::UninstallUi& ui = line.quiet ? static_cast<pelorin::UninstallUi&>(quiet) : window;
  pelorin::Win32Shell shell;
  place.elevated = shell.HasAdministratorRights();
  const pelorin::UninstallEnd end = pelorin::RunUninstall({files, registry, processes, windows, ui}, place);
  if (end != pelorin::UninstallEnd::kNeedsRights) return kExitCodes[static_cast<int>(end)];
  // A removal for every user: this program again, with administrator rights and the same switches.
  const pelorin::ElevatedRun run = pelorin::RunThisProgramElevated(arguments);
  if (run.started) return static_cast<int>(run.exitCode);
  ui.Tell(run.refused ? "Removing this install for every user needs administrator rights, and they were not "
                        "given.\r\n\r\nNothing has been removed."
                      : "The uninstaller could not start itself with administrator rights.");
  return pelorin::kExitStopped;
}
