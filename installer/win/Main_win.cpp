#include <windows.h>
#include <aclapi.h>
#include <objbase.h>
#include <sddl.h>

#include "AppWindows_win.h"
#include "CommandLine.h"
#include "Concat.h"
#include "DllHardening_win.h"
#include "Elevation_win.h"
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
#include "SystemError_win.h"
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
constexpr char kRightsRefused[] =
    "An install for every user needs administrator rights, and they were not given.\r\n\r\nNothing has been installed.";
constexpr char kNoElevatedStart[] = "Setup could not start itself with administrator rights:\r\n";

// The text form of the owner of a kernel object; empty when it cannot be read.
pelorin::String OwnerSid(HANDLE object) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  pelorin::String text;
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                      &descriptor) == ERROR_SUCCESS)
    text = pelorin::SidText(owner);
  if (descriptor != nullptr) LocalFree(descriptor);
  return text;
}

// Only one setup of this application runs at a time: the first to start holds the mutex. A
// mutex of that name that another account made (any user can make one in the global
// namespace) is no setup's, and does not hold this one back.
class SetupMutex {
 public:
  explicit SetupMutex(const pelorin::String& runningSid) : handle_(CreateMutexA(nullptr, TRUE, kSetupMutexName)) {
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
  // Lets another setup start, as this run hands its work to one.
  void Release() {
    if (owned_) ReleaseMutex(handle_);
    owned_ = false;
  }

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

// A problem of setup's: `text` and then `more`, which may name paths in any script.
void ShowProblem(const char* text, const char* more = "", HWND owner = nullptr, UINT type = MB_OK | MB_ICONEXCLAMATION) {
  pelorin::win::ShowMessageBox(owner, pelorin::Concat({text, more}), kSetupTitle, type);
}

// Who this run installs for: the switch, else the earlier install, else the account.
pelorin::ScopeChoice ScopeOfRun(pelorin::FileSystem& files, pelorin::Registry& registry, const pelorin::String& appName,
                                const pelorin::CommandLine& line) {
  pelorin::ScopeFacts facts{pelorin::AccountIsAdministrator(), line.quiet, line.scope};
  for (bool* installed : {&facts.machineInstall, &facts.userInstall})
    *installed = !pelorin::RegisteredInstallFolder(files, registry, appName,
                                                   installed == &facts.userInstall ? pelorin::InstallScope::kUser
                                                                                   : pelorin::InstallScope::kMachine)
                       .empty();
  return pelorin::ChooseScope(facts);
}

// The folder proposed for `scope`: the one given with /D=, else that of ProposedInstallPath.
pelorin::String ProposedFolder(pelorin::FileSystem& files, pelorin::Registry& registry, const pelorin::SetupInfo& info,
                           const pelorin::CommandLine& line, pelorin::InstallScope scope) {
  return line.hasFolder ? line.folder
                        : pelorin::ProposedInstallPath(files, registry, info, pelorin::ProgramsFolder(scope), scope);
}

// An install for every user without administrator rights: this program again, with them and
// the same choices, which are its own from here on. The mutex goes first, or that run would
// find this one running.
int HandOverElevated(SetupMutex& mutex, pelorin::CommandLine& choices) {
  choices.scope = pelorin::ScopeSwitch::kAllUsers;
  mutex.Release();
  const pelorin::ElevatedRun run = pelorin::RunThisProgramElevated(pelorin::HandOverArguments(choices));
  if (run.started) return static_cast<int>(run.exitCode);
  if (!choices.quiet) {
    if (run.refused) ShowProblem(kRightsRefused);
    else ShowProblem(kNoElevatedStart, pelorin::SystemErrorText(run.systemCode).c_str());
  }
  return pelorin::kExitStopped;
}

// The install with the system's services, shown by `ui`. The unpacked setup information and
// shortcuts go to the install, which is the last to read them.
pelorin::InstallResult InstallInto(pelorin::FileSystem& files, pelorin::UnpackOutcome& unpacked,
                                   const pelorin::String& folder, bool runAfterInstall, pelorin::InstallScope scope,
                                   pelorin::InstallUi& ui, bool quiet) {
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  pelorin::Win32Shell shell;
  pelorin::Win32AppWindows windows;
  pelorin::InstallServices services{files, registry, processes, shell, ui, windows};
  // Named in messages only: the list and data are read from setup's own image.
  const pelorin::String image = pelorin::ProgramPath();
  const pelorin::InstallRequest request{.info = &unpacked.info,
                                        .shortcuts = &unpacked.shortcuts,
                                        .installPath = folder,
                                        .runAfterInstall = runAfterInstall,
                                        .quiet = quiet,
                                        .scope = scope,
                                        .accountSid = pelorin::RunningAccountSid(),
                                        .packList = image,
                                        .list = &unpacked.list,
                                        .data = unpacked.data.get()};
  return pelorin::Install(services, request);
}

void RunInstall(pelorin::FileSystem& files, pelorin::UnpackOutcome& unpacked, const pelorin::win::WizardChoice& choice,
                HICON icon) {
  // The folder chosen on the path page, as the install may own it.
  const pelorin::InstallFolderChoice folder =
      pelorin::ChooseSystemInstallFolder(files, choice.installPath, unpacked.info.appName, choice.scope);
  if (folder.refused) {
    ShowProblem(folder.reason.c_str(), "\r\n\r\nNothing has been installed.");
    return;
  }
  pelorin::win::InstallWindow progress;
  if (progress.Open(icon)) InstallInto(files, unpacked, folder.path, choice.runAfterInstall, choice.scope, progress, false);
}

// "/S": the same install with no window at all; the exit code tells how it went.
int RunQuietly(pelorin::FileSystem& files, const pelorin::SetupFiles& setup, pelorin::CommandLine& line,
               SetupMutex& mutex) {
  pelorin::UnpackOutcome unpacked = pelorin::UnpackSetupData(files, pelorin::ProgramPath(), setup);
  if (unpacked.result != pelorin::UnpackResult::kReady) return pelorin::kExitFailed;
  pelorin::RemoveSetupDataFiles(files, setup, &unpacked);
  pelorin::Win32Registry registry;
  const pelorin::InstallScope scope = ScopeOfRun(files, registry, unpacked.info.appName, line).scope;
  if (pelorin::NeedsElevation(scope, pelorin::Win32Shell().HasAdministratorRights()))
    return HandOverElevated(mutex, line);
  const pelorin::InstallFolderChoice folder =
      pelorin::ChooseSystemInstallFolder(files, ProposedFolder(files, registry, unpacked.info, line, scope),
                                         unpacked.info.appName, scope);
  if (folder.refused) return pelorin::kExitStopped;
  pelorin::QuietInstallUi ui;
  return pelorin::QuietInstallExitCode(InstallInto(files, unpacked, folder.path, false, scope, ui, true));
}

// The choices made, installed: for every user without administrator rights by this program
// started again with them. Run from the wizard, setup ends with 0 however the install went.
void InstallChoice(pelorin::FileSystem& files, pelorin::UnpackOutcome& unpacked, const pelorin::win::WizardChoice& choice,
                   HICON icon, SetupMutex& mutex) {
  pelorin::Win32Shell shell;
  if (pelorin::NeedsElevation(choice.scope, shell.HasAdministratorRights())) {
    pelorin::CommandLine chosen;
    chosen.chosen = true;
    chosen.runAfter = choice.runAfterInstall;
    chosen.folder = choice.installPath;
    chosen.hasFolder = !chosen.folder.empty();
    HandOverElevated(mutex, chosen);
    return;
  }
  RunInstall(files, unpacked, choice, icon);
}

// The wizard, then the install; the setup folder is removed by the caller. A run that an
// earlier one handed its wizard's choices to (/INSTALL) installs them at once.
int RunWithWizard(pelorin::FileSystem& files, const pelorin::SetupFiles& setup, const pelorin::CommandLine& line,
                  SetupMutex& mutex) {
  pelorin::win::WaitWindow wait;
  wait.Open();
  pelorin::UnpackOutcome unpacked = pelorin::UnpackSetupData(files, pelorin::ProgramPath(), setup);
  if (unpacked.result != pelorin::UnpackResult::kReady) {
    const bool corrupt = unpacked.result == pelorin::UnpackResult::kCorrupt;
    ShowProblem(corrupt ? pelorin::kCorruptSetupMessage : pelorin::kSetupDataMissingMessage, "", wait.Handle(), MB_OK);
    return 1;
  }

  pelorin::Win32Registry registry;
  const pelorin::ScopeChoice scope = ScopeOfRun(files, registry, unpacked.info.appName, line);
  if (line.chosen) {
    pelorin::RemoveSetupDataFiles(files, setup, &unpacked);
    wait.Hide();
    InstallChoice(files, unpacked, {line.folder, line.runAfter, scope.scope}, wait.Icon(), mutex);
    return 0;
  }
  pelorin::win::WizardWindow wizard(files);
  if (!wizard.Open(unpacked.info,
                   {ProposedFolder(files, registry, unpacked.info, line, pelorin::InstallScope::kMachine),
                    ProposedFolder(files, registry, unpacked.info, line, pelorin::InstallScope::kUser)},
                   scope, wait.Icon()))
    return 1;
  const auto held = [&](int item) { return unpacked.held[item] ? &unpacked.heldBytes[item] : nullptr; };
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
  if (!wizard.Choice()) return 0;
  pelorin::RunPendingMessages();  // the windows repaint what the hidden wizard uncovered
  InstallChoice(files, unpacked, *wizard.Choice(), wait.Icon(), mutex);
  return 0;
}

}  // namespace

int pelorin::win::RunSetup() {
  pelorin::HardenDllLoading();
  bool exact = true;
  pelorin::CommandLine line = pelorin::ParseCommandLine(pelorin::ProgramArguments(exact), true);
  if (!exact && line.Valid()) line.unknown = "(a character that is no text)";
  if (line.help || !line.Valid()) return pelorin::win::AnswerUsage(line, pelorin::kSetupUsage, kSetupTitle);
  const pelorin::PrivateFolderSource source = pelorin::PrivateFolderSourceOfThisRun();
  SetupMutex mutex(source.userSid);
  if (!mutex.First()) {
    if (!line.quiet) ShowProblem(kAlreadyRunning);
    return pelorin::kExitStopped;
  }
  ComApartment com;
  pelorin::Win32GuardedFileSystem files;
  pelorin::SetupFiles setup;
  if (pelorin::FileError error =
          pelorin::CreateSetupFolder(files, pelorin::TemporaryFolder(), source, setup)) {
    if (!line.quiet) ShowProblem(kNoSetupFolder, pelorin::FileErrorText(error).c_str());
    return pelorin::kExitFailed;
  }
  // The pack copies are closed when either run returns, so the whole folder can go.
  const int code = line.quiet ? RunQuietly(files, setup, line, mutex) : RunWithWizard(files, setup, line, mutex);
  pelorin::RemoveSetupFolder(files, setup);
  return code;
}
