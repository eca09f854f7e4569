#include <windows.h>
#include <aclapi.h>
#include <objbase.h>
#include <sddl.h>

#include "AppWindows_win.h"
#include "CommandLine.h"
#include "DllHardening_win.h"
#include "FileSystem_win.h"
#include "ObjectRights_win.h"
#include "FolderRights.h"
#include "InstallEngine.h"
#include "InstallFolder.h"
#include "InstallFolder_win.h"
#include "InstallRecord.h"
#include "InstallWindow_win.h"
#include "Processes_win.h"
#include "ProgramArguments_win.h"
#include "QuietInstallUi.h"
#include "Registry_win.h"
#include "RunAccount_win.h"
#include "SetupUnpack.h"
#include "Shell_win.h"
#include "SystemPaths_win.h"
#include "UsageMessage_win.h"
#include "WaitWindow_win.h"
#include "WizardWindow_win.h"
#include "SetupMain_win.h"
#include "MessageBox_win.h"

namespace {

constexpr char kSetupTitle[] = "Setup";
constexpr char kSetupMutexName[] = "Global\\BrackwaterPelorinSetup";
constexpr char kAlreadyRunning[] =
    "Another setup of this application is running. Let it finish, then start setup again.";
constexpr char kNoSetupFolder[] = "Setup could not make its own folder in the temporary folder:\r\n";

// The text form of the owner of a kernel object; empty when it cannot be read.
std::string OwnerSid(HANDLE object) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  std::string text;
  LPSTR sid = nullptr;
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                      &descriptor) == ERROR_SUCCESS &&
      ConvertSidToStringSidA(owner, &sid)) {
    text = sid;
    LocalFree(sid);
  }
  if (descriptor != nullptr) LocalFree(descriptor);
  return text;
}

// Only one setup of this application runs at a time: the first to start holds the mutex. A
// mutex of that name that another account made (any user can make one in the global
// namespace) is no setup's, and does not hold this one back.
class SetupMutex {
 public:
  explicit SetupMutex(const std::string& runningSid) : handle_(CreateMutexA(nullptr, TRUE, kSetupMutexName)) {
    const bool existed = handle_ == nullptr || GetLastError() == ERROR_ALREADY_EXISTS;
    // One this account may not even open is another account's.
    first_ = !existed || handle_ == nullptr || !pelorin::IsOwnedByTrustedAccount(OwnerSid(handle_), runningSid);
    owned_ = !existed;
  }
  SetupMutex(const SetupMutex&) = delete;
  SetupMutex& operator=(const SetupMutex&) = delete;
  ~SetupMutex() {
    if (handle_ == nullptr) return;
    if (owned_) ReleaseMutex(handle_);
    CloseHandle(handle_);
  }
  bool First() const { return first_; }

 private:
  HANDLE handle_;
  bool first_ = false;
  bool owned_ = false;
};

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

pelorin::InstallRequest MakeRequest(const pelorin::UnpackOutcome& unpacked, const std::string& installPath,
                                    bool runAfterInstall) {
  pelorin::InstallRequest request;
  request.info = unpacked.info;
  request.shortcuts = unpacked.shortcuts;
  request.installPath = installPath;
  request.runAfterInstall = runAfterInstall;
  // Named in messages only: the list and data are read from setup's own image.
  request.packList = request.packData = pelorin::ProgramPath();
  request.list = &unpacked.list;
  request.data = unpacked.data.get();
  return request;
}

void RunInstall(pelorin::FileSystem& files, const pelorin::UnpackOutcome& unpacked,
                const pelorin::SetupFiles& setup, const pelorin::win::WizardChoice& choice, HICON icon) {
  // The folder chosen on the path page, as the install may own it.
  const pelorin::InstallFolderChoice folder =
      pelorin::ChooseInstallFolder(files, choice.installPath, unpacked.info.appName, pelorin::SystemReservedFolders());
  if (folder.refused) {
    pelorin::win::ShowMessageBox(nullptr, folder.reason + "\r\n\r\nNothing has been installed.", kSetupTitle,
                                 MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  pelorin::win::InstallWindow progress;
  if (!progress.Open(icon)) return;
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  pelorin::Win32Shell shell;
  pelorin::Win32AppWindows windows;
  pelorin::InstallServices services{files, registry, processes, shell, progress, windows};
  pelorin::Install(services, MakeRequest(unpacked, folder.path, choice.runAfterInstall));
}

// "/S": the same install with no window at all; the exit code tells how it went.
int RunQuietly(pelorin::FileSystem& files, const pelorin::SetupFiles& setup, const pelorin::CommandLine& line) {
  pelorin::QuietInstallUi ui;
  pelorin::UnpackOutcome unpacked = pelorin::UnpackSetupData(files, pelorin::ProgramPath(), setup);
  if (unpacked.result != pelorin::UnpackResult::kReady) return pelorin::kExitFailed;
  pelorin::RemoveSetupDataFiles(files, setup, &unpacked);
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  pelorin::Win32Shell shell;
  pelorin::Win32AppWindows windows;
  pelorin::InstallServices services{files, registry, processes, shell, ui, windows};
  const pelorin::InstallFolderChoice folder = pelorin::ChooseInstallFolder(
      files, line.hasFolder ? line.folder : pelorin::ProposedInstallPath(files, registry, unpacked.info, pelorin::ProgramFilesFolder()),
      unpacked.info.appName, pelorin::SystemReservedFolders());
  if (folder.refused) return pelorin::kExitStopped;
  pelorin::InstallRequest request = MakeRequest(unpacked, folder.path, false);
  request.quiet = true;
  return pelorin::QuietInstallExitCode(pelorin::Install(services, request));
}

// The wizard, then the install; the setup folder is removed by the caller.
int RunWithWizard(pelorin::FileSystem& files, const pelorin::SetupFiles& setup, const pelorin::CommandLine& line) {
  pelorin::win::WaitWindow wait;
  wait.Open();
  pelorin::UnpackOutcome unpacked = pelorin::UnpackSetupData(files, pelorin::ProgramPath(), setup);
  if (unpacked.result != pelorin::UnpackResult::kReady) {
    const bool corrupt = unpacked.result == pelorin::UnpackResult::kCorrupt;
    MessageBoxA(wait.Handle(), corrupt ? pelorin::kCorruptSetupMessage : pelorin::kSetupDataMissingMessage,
                kSetupTitle, MB_OK);
    return 1;
  }

  pelorin::win::WizardWindow wizard(files);
  pelorin::Win32Registry registry;
  const std::string proposed =
      line.hasFolder ? line.folder
                     : pelorin::ProposedInstallPath(files, registry, unpacked.info, pelorin::ProgramFilesFolder());
  if (!wizard.Open(unpacked.info, proposed, wait.Icon())) return 1;
  const auto held = [&](int item) { return unpacked.heldBytes[item] ? &*unpacked.heldBytes[item] : nullptr; };
  wizard.LoadLic(held(0));
  wizard.LoadReadme(held(1));
  wizard.LoadSidePicture(held(2));
  pelorin::RemoveSetupDataFiles(files, setup, &unpacked);
  wizard.Show();
  wait.Hide();

  // Wide, so that what is typed into the install folder's box reaches it whole: an ANSI loop
  // would turn each character the code page lacks into "?" on its way.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (wizard.PreTranslate(message) || IsDialogMessageW(wizard.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (wizard.Choice()) {
    ProcessPendingMessages();
    RunInstall(files, unpacked, setup, *wizard.Choice(), wait.Icon());
  }
  return 0;
}

}  // namespace

int pelorin::win::RunSetup() {
  pelorin::HardenDllLoading();
  const pelorin::CommandLine line = pelorin::ParseCommandLine(pelorin::ProgramArguments(), true);
  if (line.help || !line.Valid()) return pelorin::win::AnswerUsage(line, pelorin::kSetupUsage, kSetupTitle);
  const pelorin::PrivateFolderSource source = pelorin::PrivateFolderSourceOfThisRun();
  SetupMutex mutex(source.userSid);
  if (!mutex.First()) {
    if (!line.quiet) MessageBoxA(nullptr, kAlreadyRunning, kSetupTitle, MB_OK | MB_ICONEXCLAMATION);
    return pelorin::kExitStopped;
  }
  ComApartment com;
  pelorin::Win32GuardedFileSystem files;
  pelorin::SetupFiles setup;
  if (pelorin::FileError error =
          pelorin::CreateSetupFolder(files, pelorin::TemporaryFolder(), source, setup)) {
    if (!line.quiet)
      pelorin::win::ShowMessageBox(nullptr, kNoSetupFolder + error.message, kSetupTitle, MB_OK | MB_ICONEXCLAMATION);
    return pelorin::kExitFailed;
  }
  // The pack copies are closed when either run returns, so the whole folder can go.
  const int code = line.quiet ? RunQuietly(files, setup, line) : RunWithWizard(files, setup, line);
  pelorin::RemoveSetupFolder(files, setup);
  return code;
}
