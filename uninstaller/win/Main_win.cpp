#include <windows.h>

#include "AppWindows_win.h"
#include "CommandLine.h"
#include "ConsolePath_win.h"
#include "DllHardening_win.h"
#include "FileSystem_win.h"
#include "ObjectRights_win.h"
#include "OriginalRemoval_win.h"
#include "Processes_win.h"
#include "ProgramArguments_win.h"
#include "QuietUninstallUi.h"
#include "Registry_win.h"
#include "RunAccount_win.h"
#include "ShellFolders_win.h"
#include "SystemPaths_win.h"
#include "UninstallMain_win.h"
#include "UninstallWindow_win.h"
#include "UsageMessage_win.h"
#include "WideText_win.h"

namespace {

int ExitCode(pelorin::UninstallEnd end) {
  switch (end) {
    case pelorin::UninstallEnd::kRemoved: return pelorin::kExitDone;
    case pelorin::UninstallEnd::kIncomplete: return pelorin::kExitIncomplete;
    case pelorin::UninstallEnd::kEditorRunning: return pelorin::kExitProgramRunning;
    case pelorin::UninstallEnd::kLogMissing:
    case pelorin::UninstallEnd::kDeclined: break;
  }
  return pelorin::kExitFailed;
}

}  // namespace

int pelorin::win::RunUninstall() {
  pelorin::HardenDllLoading();
  const std::string arguments = pelorin::ProgramArguments();
  // The copy that an uninstaller on another drive started to delete it.
  if (const auto removal = pelorin::ParseOriginalRemoval(arguments))
    return pelorin::win::FinishOriginalRemoval(*removal);
  const pelorin::CommandLine line = pelorin::ParseCommandLine(arguments, false);
  if (line.help || !line.Valid()) return pelorin::win::AnswerUsage(line, pelorin::kUninstallUsage, "Uninstall");
  constexpr int kPrograms = 0x0002;        // CSIDL_PROGRAMS
  constexpr int kCommonPrograms = 0x0017;  // CSIDL_COMMON_PROGRAMS
  constexpr int kLocalAppData = 0x001C;    // CSIDL_LOCAL_APPDATA
  pelorin::UninstallPlace place;
  place.programPath = pelorin::ProgramPath();
  place.systemFolder = pelorin::SystemFolder();
  place.temporaryFolder = pelorin::TemporaryFolder();
  place.folderSource = pelorin::PrivateFolderSourceOfThisRun();
  for (int csidl : {kPrograms, kCommonPrograms})
    if (std::string folder = pelorin::ShellFolderPath(csidl); !folder.empty()) place.programsFolders.push_back(folder);
  if (const std::string local = pelorin::ShellFolderPath(kLocalAppData); !local.empty())
    place.virtualStore = local + "\\VirtualStore";
  place.consoleName = pelorin::win::ConsolePath;
  place.startCopy = pelorin::win::StartOriginalRemoval;
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
  return ExitCode(pelorin::RunUninstall({files, registry, processes, windows, ui}, place));
}
