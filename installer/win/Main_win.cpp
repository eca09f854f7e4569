#include <windows.h>
#include <objbase.h>

#include "AppWindows_win.h"
#include "CommandLine.h"
#include "FileSystem_win.h"
#include "InstallEngine.h"
#include "InstallFolder.h"
#include "InstallRecord.h"
#include "InstallWindow_win.h"
#include "OverwriteQuestion_win.h"
#include "Processes_win.h"
#include "QuietInstallUi.h"
#include "Registry_win.h"
#include "SetupUnpack.h"
#include "Shell_win.h"
#include "SystemPaths_win.h"
#include "UsageMessage_win.h"
#include "WaitWindow_win.h"
#include "WizardWindow_win.h"

namespace {

constexpr char kSetupTitle[] = "Setup";

// The shell's folder browser and link objects need COM on this thread.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }

 private:
  bool initialised_;
};

// Lets the windows repaint what the hidden wizard uncovered.
void ProcessPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

pelorin::InstallRequest MakeRequest(const pelorin::UnpackOutcome& unpacked, const pelorin::SetupFiles& setup,
                                    const std::string& installPath, bool runAfterInstall) {
  pelorin::InstallRequest request;
  request.info = unpacked.info;
  request.shortcuts = unpacked.shortcuts;
  request.installPath = installPath;
  request.runAfterInstall = runAfterInstall;
  request.packList = setup.packList;
  request.packData = setup.packData;
  return request;
}

void RunInstall(pelorin::FileSystem& files, const pelorin::UnpackOutcome& unpacked,
                const pelorin::SetupFiles& setup, const pelorin::win::WizardChoice& choice, HICON icon) {
  pelorin::win::InstallWindow progress;
  if (!progress.Open(icon)) return;
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  pelorin::Win32Shell shell;
  pelorin::Win32AppWindows windows;
  pelorin::InstallServices services{files, registry, processes, shell, progress, windows};
  pelorin::Install(services, MakeRequest(unpacked, setup, choice.installPath, choice.runAfterInstall));
}

// "/S": the same install with no window at all; the exit code tells how it went.
int RunQuietly(pelorin::FileSystem& files, const pelorin::SetupFiles& setup, const pelorin::CommandLine& line) {
  pelorin::QuietInstallUi ui;
  const pelorin::UnpackOutcome unpacked = pelorin::UnpackSetupData(files, ui, pelorin::ProgramPath(), setup);
  if (unpacked.result != pelorin::UnpackResult::kReady) return pelorin::kExitFailed;
  pelorin::RemoveSetupDataFiles(files, setup);
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  pelorin::Win32Shell shell;
  pelorin::Win32AppWindows windows;
  pelorin::InstallServices services{files, registry, processes, shell, ui, windows};
  const std::string path =
      line.hasFolder ? line.folder : pelorin::ProposedInstallPath(files, registry, unpacked.info);
  pelorin::InstallRequest request = MakeRequest(unpacked, setup, path, false);
  request.quiet = true;
  const pelorin::InstallResult result = pelorin::Install(services, request);
  pelorin::RemovePackCopies(files, setup);
  return pelorin::QuietInstallExitCode(result);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  const pelorin::CommandLine line = pelorin::ParseCommandLine(arguments, true);
  if (line.help || !line.Valid()) return pelorin::win::AnswerUsage(line, pelorin::kSetupUsage, kSetupTitle);
  ComApartment com;
  pelorin::Win32FileSystem files;
  const pelorin::SetupFiles setup = pelorin::SetupFilesIn(pelorin::SetupTempFolder(pelorin::TemporaryFolder()));
  if (line.quiet) return RunQuietly(files, setup, line);

  pelorin::win::OverwriteQuestion question;

  pelorin::win::WaitWindow wait;
  wait.Open();
  const pelorin::UnpackOutcome unpacked = pelorin::UnpackSetupData(files, question, pelorin::ProgramPath(), setup);
  if (unpacked.result != pelorin::UnpackResult::kReady) {
    const bool corrupt = unpacked.result == pelorin::UnpackResult::kCorrupt;
    MessageBoxA(wait.Handle(), corrupt ? pelorin::kCorruptSetupMessage : pelorin::kSetupDataMissingMessage,
                kSetupTitle, MB_OK);
    return 1;
  }

  pelorin::win::WizardWindow wizard(files);
  pelorin::Win32Registry registry;
  const std::string proposed =
      line.hasFolder ? line.folder : pelorin::ProposedInstallPath(files, registry, unpacked.info);
  if (!wizard.Open(unpacked.info, proposed, wait.Icon())) {
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
    if (wizard.PreTranslate(message) || IsDialogMessageA(wizard.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (wizard.Choice()) {
    ProcessPendingMessages();
    RunInstall(files, unpacked, setup, *wizard.Choice(), wait.Icon());
  }
  // The run is over: the pack copies go, the temporary folder stays.
  pelorin::RemovePackCopies(files, setup);
  return 0;
}
