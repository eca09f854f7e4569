#include <windows.h>

#include <memory>

#include "FileSystem_win.h"
#include "SetupMain_win.h"
#include "SetupUnpack.h"
#include "SystemPaths_win.h"
#include "UninstallMain_win.h"

namespace {

// The one program has two roles: setup.exe is its image with the pack behind it, and the
// Uninstall.exe that setup installs is the same image with the removal mark behind it. Any
// other file, one whose pack is missing or damaged too, runs as setup, which says so.
bool IsUninstaller() {
  pelorin::Win32FileSystem files;
  std::unique_ptr<pelorin::FileReader> self;
  return !files.OpenForReading(pelorin::ProgramPath(), self) && pelorin::HasRemovalMark(*self);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return IsUninstaller() ? pelorin::win::RunUninstall() : pelorin::win::RunSetup();
}
