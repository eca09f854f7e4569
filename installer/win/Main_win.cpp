#include <windows.h>

#include "FileSystem_win.h"
#include "OverwriteQuestion_win.h"
#include "SetupUnpack.h"
#include "WaitWindow_win.h"
#include "WizardWindow_win.h"

namespace {

constexpr char kSetupTitle[] = "Setup";

std::string TemporaryPath() {
  char path[MAX_PATH + 1] = {};
  GetTempPathA(sizeof(path), path);
  return path;
}

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  pelorin::Win32FileSystem files;
  pelorin::win::OverwriteQuestion question;
  const pelorin::SetupFiles setup = pelorin::SetupFilesIn(pelorin::SetupTempFolder(TemporaryPath()));

  pelorin::win::WaitWindow wait;
  wait.Open();
  const pelorin::UnpackOutcome unpacked = pelorin::UnpackSetupData(files, question, ProgramPath(), setup);
  if (unpacked.result != pelorin::UnpackResult::kReady) {
    const bool corrupt = unpacked.result == pelorin::UnpackResult::kCorrupt;
    MessageBoxA(wait.Handle(), corrupt ? pelorin::kCorruptSetupMessage : pelorin::kSetupDataMissingMessage,
                kSetupTitle, MB_OK);
    return 1;
  }

  pelorin::win::WizardWindow wizard(files);
  if (!wizard.Open(unpacked.info, wait.Icon())) {
    pelorin::RemovePackCopies(files, setup);
    return 1;
  }
  wizard.LoadLic(setup.licence);
  wizard.LoadReadme(setup.readme);
  wizard.LoadSidePicture(setup.sidePicture);
  pelorin::RemoveSetupDataFiles(files, setup);
  wizard.Show();
  wait.Hide();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(wizard.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // The run is over: the pack copies go, the temporary folder stays.
  pelorin::RemovePackCopies(files, setup);
  return 0;
}
