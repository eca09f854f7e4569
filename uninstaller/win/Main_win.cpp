#include <windows.h>

#include "AppWindows_win.h"
#include "CommandLine.h"
#include "DllHardening_win.h"
#include "FileSystem_win.h"
#include "InstallRecord.h"
#include "Processes_win.h"
#include "QuietUninstallUi.h"
#include "Registry_win.h"
#include "SystemPaths_win.h"
#include "UninstallWindow_win.h"
#include "UsageMessage_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  pelorin::HardenDllLoading();
  const pelorin::CommandLine line = pelorin::ParseCommandLine(arguments, false);
  if (line.help || !line.Valid()) return pelorin::win::AnswerUsage(line, pelorin::kUninstallUsage, "Uninstall");
  pelorin::UninstallPlace place;
  place.self.programPath = pelorin::ProgramPath();
  place.self.shortProgram = pelorin::ShortPathOf(place.self.programPath);
  place.self.shortFolder = pelorin::ShortPathOf(pelorin::FolderOfPath(place.self.programPath));
  place.self.setupTemp = pelorin::SetupTempFolder(pelorin::TemporaryFolder());
  place.systemFolder = pelorin::SystemFolder();
  // A folder that is some program's current folder cannot be removed: neither this program
  // nor what it starts (the batch file's interpreter and its console) may stand in the
  // install folder.
  SetCurrentDirectoryA(pelorin::TemporaryFolder().c_str());

  pelorin::Win32FileSystem files;
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  pelorin::Win32AppWindows windows;
  pelorin::QuietUninstallUi quiet;
  pelorin::win::UninstallWindow window;
  if (!line.quiet && !window.Open()) return pelorin::kExitFailed;
  pelorin::UninstallUi& ui = line.quiet ? static_cast<pelorin::UninstallUi&>(quiet) : window;
  const pelorin::UninstallEnd end = pelorin::RunUninstall({files, registry, processes, windows, ui}, place);
  return end == pelorin::UninstallEnd::kRemoved ? pelorin::kExitDone : pelorin::kExitFailed;
}
