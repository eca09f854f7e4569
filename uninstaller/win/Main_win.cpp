#include <windows.h>

#include "AppWindows_win.h"
#include "FileSystem_win.h"
#include "Processes_win.h"
#include "Registry_win.h"
#include "InstallRecord.h"
#include "SystemPaths_win.h"
#include "UninstallWindow_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
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

  pelorin::win::UninstallWindow window;
  if (!window.Open()) return 1;
  pelorin::Win32FileSystem files;
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  pelorin::Win32AppWindows windows;
  const pelorin::UninstallEnd end =
      pelorin::RunUninstall({files, registry, processes, windows, window}, place);
  return end == pelorin::UninstallEnd::kRemoved ? 0 : 1;
}
