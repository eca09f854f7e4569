#include "InstallEngine.h"

#include "DecimalText.h"
#include "FolderRights.h"
#include "InstallRecord.h"
#include "ItemNames.h"
#include "TextFile.h"
#include "TextLines.h"

namespace pelorin {

namespace {

constexpr int kMainProgramLinkIcon = 0;  // the first icon of the target
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL: a shortcut starts its program in a normal window
// The removal registration names this program beside the install log.
constexpr char kUninstallerName[] = "Uninstall.exe";

std::string Number(std::uint32_t value) { return WholeNumberText(value); }

// The system's text for a failure, with its number so that a report in any language can be read.
std::string ErrorText(const FileError& error) {
  if (!error) return "unknown error";
  return error.message + " (system error " + Number(error.systemCode) + ")";
}

// A file name without any folder part.
bool IsBareFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

class Installation {
 public:
  Installation(InstallServices& services, const InstallRequest& request)
      : files_(services.files), services_(services), request_(request),
        installFolder_(WithTrailingBackslash(request.installPath)),
        logPath_(installFolder_ + kInstallLogName), keepLog_(request.info.noUninstall == 0) {}

  InstallResult Run();

 private:
  InstallResult Stop(const std::string& why);
  bool ProgramFree(FileError& refusal);
  ProgramWindow Editor() const;
  bool WaitForProgramToClose(FileError& refusal);
  void RemoveFolders(const std::vector<std::string>& created);
  void InstallFiles(const std::vector<InstallEntry>& entries);
  void InstallSystemFiles(const std::vector<InstallEntry>& entries);
  void ShowEntryProgress(std::size_t done, std::size_t total, const std::string& shown);
  void AppendLog(const std::string& line);
  void RegisterUninstall();
  void CreateLinks();
  void CreateOneLink(const std::string& target, const std::string& name, const std::string& folder);
  std::string LinkFolder(const std::string& folder);
  void RemoveEarlierInstallElsewhere();
  void ReadEarlierEntries();
  void SettleEarlierEntries();
  void RemoveEarlierShortcut(const std::string& linkFile);
  void RunProgram();
  std::string Destination(const InstallEntry& entry) const;
  std::uint64_t InstalledSize(const std::vector<InstallEntry>& entries);

  FileSystem& files_;
  InstallServices& services_;
  const InstallRequest& request_;
  const std::string installFolder_;
  const std::string logPath_;
  const bool keepLog_;
  std::string systemFolder_;
  std::vector<std::string> failures_;  // one line per file that is not in place, and why
  FileError logError_;                 // the first log line that could not be written
  std::uint64_t installedBytes_ = 0;
  bool uninstallerInstalled_ = false;
  std::vector<std::string> earlierEntries_;  // the "&" and "$" lines of the log this install replaces
  std::vector<std::string> loggedLines_;
  PackList list_;

  ExtractOutcome Extract(const std::string& item, const std::string& destination) {
    const PackRecord* record = list_.Find(item);
    if (request_.data == nullptr || record == nullptr)
      return ExtractFile(files_, services_.ui, request_.packData, request_.packList, item, destination);
    return ExtractRecord(files_, services_.ui, *request_.data, *record, destination);
  }
};

InstallResult Installation::Run() {
  systemFolder_ = WithTrailingBackslash(services_.shell.SystemFolder());
  // With no name the removal key would be the system's Uninstall key itself.
  if (request_.info.appName.empty()) return Stop(kCorruptSetupMessage);

  // The list is read before anything is written, so that a damaged setup leaves no trace.
  list_ = request_.list ? *request_.list : ReadPackList(files_, request_.packList);
  const PackList& list = list_;
  if (list.error)
    return Stop("Setup could not read its file list " + request_.packList + ":\r\n" + ErrorText(list.error));
  if (!list.headerValid) return Stop("Setup's file list " + request_.packList + " is not a file list.");
  if (list.damaged)
    return Stop("Setup's file list " + request_.packList +
                " is damaged: an entry is not a valid name, offset, size and time.");

  FileError refusal;
  if (!WaitForProgramToClose(refusal)) {
    if (refusal)
      return Stop("Setup cannot replace " + installFolder_ + request_.info.mainExe + ":\r\n" + ErrorText(refusal));
    if (!request_.quiet) return InstallResult::kCancelled;
    return Stop(request_.info.appName + " is running and did not close.");
  }
  RemoveEarlierInstallElsewhere();
  ReadEarlierEntries();

  std::vector<std::string> created;
  // Every folder setup makes has an install folder's rights alone, whatever its parent lets
  // others do, so nobody but the administrators can change what runs from it.
  const FileError folderError =
      CreateFolderChain(files_, installFolder_, &created, FolderRightsText(FolderUse::kInstall, ""));
  if (!files_.FolderExists(installFolder_)) {
    RemoveFolders(created);
    return Stop("Setup could not create the install folder " + installFolder_ + ":\r\n" + ErrorText(folderError));
  }
  if (keepLog_) {
    const std::string header = request_.info.appName + "\r\n" + request_.info.appVersion + "\r\n" +
                               request_.info.mainExe + "\r\n";
    if (FileError error = ReplaceTextFile(files_, logPath_, header)) {
      RemoveFolders(created);
      return Stop("Setup could not write the install log " + logPath_ + ":\r\n" + ErrorText(error));
    }
    // Removal takes away these folders and no other; without the record it leaves them.
    if (FileError error = RecordCreatedFolders(files_, installFolder_, created))
      failures_.push_back(installFolder_ + kCreatedFoldersName + ": " + ErrorText(error));
  }

  const std::vector<InstallEntry> entries = BuildInstallList(list.records);
  InstallFiles(entries);
  InstallSystemFiles(entries);
  installedBytes_ = InstalledSize(entries);
  // A registration whose uninstaller is missing could never be used, nor removed.
  if (keepLog_ && uninstallerInstalled_) RegisterUninstall();
  if (!request_.shortcuts.empty() && !request_.shortcuts[0].empty()) CreateLinks();
  SettleEarlierEntries();

  if (logError_) failures_.push_back(logPath_ + ": " + ErrorText(logError_));
  if (!failures_.empty()) {
    std::string report = "Setup could not install or set up these:\r\n";
    for (const std::string& failure : failures_) report += "\r\n" + failure;
    services_.ui.ShowMessage(report, true);
  }
  RunProgram();
  return failures_.empty() ? InstallResult::kInstalled : InstallResult::kWithFailures;
}

InstallResult Installation::Stop(const std::string& why) {
  services_.ui.ShowMessage(why + "\r\n\r\nNothing has been installed.", true);
  return InstallResult::kStopped;
}

// Whether the application's window is closed and its program file can be replaced, after
// asking the user (or, in a quiet run, the window) until it is. A program file that is
// refused for another reason than being in use ends the wait with that reason.
bool Installation::WaitForProgramToClose(FileError& refusal) {
  const std::string& name = request_.info.appName;
  if (ProgramFree(refusal)) return true;
  if (refusal) return false;
  if (!request_.quiet) {
    while (services_.ui.AskRetry(name + kRunningQuestion))
      if (ProgramFree(refusal) || refusal) return !refusal;
    return false;
  }
  // Only the install folder's own editor is asked: a window of another program with the
  // same title is never touched.
  if (!name.empty() && IsSafeRelativeName(request_.info.mainExe))
    services_.windows.CloseProgram(Editor(), kQuietCloseWaitMs);
  constexpr unsigned long kStepMs = 200;
  for (unsigned long waited = 0; waited < kQuietCloseWaitMs; waited += kStepMs) {
    services_.windows.Pause(kStepMs);
    if (ProgramFree(refusal) || refusal) return !refusal;
  }
  return false;
}

bool Installation::ProgramFree(FileError& refusal) {
  const SetupInfo& info = request_.info;
  if (info.mainExe.empty() || !IsSafeRelativeName(info.mainExe)) return true;
  const std::string program = installFolder_ + info.mainExe;
  // Only this folder's own editor counts: another program's window with the same title does
  // not hold the install up. An empty title would match some unrelated untitled window.
  if (!info.appName.empty() && services_.windows.IsRunning(Editor())) return false;
  if (!files_.FileExists(program)) return true;
  // A running program's file cannot be opened for writing; nothing is written here. A
  // read-only file or one this account may not write is no running program.
  std::unique_ptr<FileWriter> writer;
  if (FileError error = files_.OpenForWriting(program, true, writer)) {
    if (!IsInUse(error)) refusal = error;
    return false;
  }
  writer->Close();
  return true;
}

// The install folder's own editor, by its window and program file.
ProgramWindow Installation::Editor() const {
  return ProgramWindow{kEditorWindowClass, request_.info.appName, installFolder_ + request_.info.mainExe};
}

void Installation::RemoveFolders(const std::vector<std::string>& created) {
  for (auto folder = created.rbegin(); folder != created.rend(); ++folder) files_.RemoveFolder(*folder);
}

void Installation::ShowEntryProgress(std::size_t done, std::size_t total, const std::string& shown) {
  services_.ui.ShowProgress(PercentInstalledText(done, total), "Installing " + shown);
  services_.ui.ShowBar(done, total);
}

void Installation::InstallFiles(const std::vector<InstallEntry>& entries) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const InstallEntry& entry = entries[i];
    if (entry.kind == InstallEntry::Kind::kOrdinary) {
      if (entry.problem) {
        failures_.push_back(entry.item + ": " + entry.problem + "; skipped");
      } else {
        const std::string destination = Destination(entry);
        const ExtractOutcome outcome = Extract(entry.item, destination);
        if (outcome.result == ExtractResult::kFailed) {
          failures_.push_back(destination + ": " + ErrorText(outcome.error));
        } else {
          if (outcome.result != ExtractResult::kKeptNewer && keepLog_) AppendLog(entry.path);
          if (SameFileName(entry.path, kUninstallerName) && files_.FileExists(destination)) uninstallerInstalled_ = true;
        }
      }
    }
    ShowEntryProgress(i + 1, entries.size(), entry.item);
  }
}

void Installation::InstallSystemFiles(const std::vector<InstallEntry>& entries) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const InstallEntry& entry = entries[i];
    const bool system = entry.kind == InstallEntry::Kind::kSystem;
    const std::string name = system ? entry.item.substr(1) : entry.item;
    if (system && entry.problem) {
      failures_.push_back(entry.item + ": " + entry.problem + "; skipped");
    } else if (system) {
      const std::string destination = Destination(entry);
      const ExtractOutcome outcome = Extract(entry.item, destination);
      if (outcome.result == ExtractResult::kFailed) {
        failures_.push_back(destination + ": " + ErrorText(outcome.error));
      } else {
        // Run in the system folder, so that nothing it loads comes from setup's folder, and
        // waited for: a file it could not register is reported like one not written.
        if (outcome.result != ExtractResult::kKeptNewer &&
            !services_.processes.RunAndSucceed(
                QuotedPath(systemFolder_ + "regsvr32.exe") + " /s " + QuotedPath(destination), kRegisterWaitMs,
                systemFolder_))
          failures_.push_back(destination + ": regsvr32 could not register it");
        // Logged even when the newer copy was kept: the uninstaller asks before it removes
        // a shared system file.
        if (keepLog_) AppendLog(kSystemFileMarker + destination);
      }
    }
    ShowEntryProgress(i + 1, entries.size(), name);
  }
}

std::string Installation::Destination(const InstallEntry& entry) const {
  return (entry.kind == InstallEntry::Kind::kSystem ? systemFolder_ : installFolder_) + entry.path;
}

// The installed files as they stand now, kept newer ones included.
std::uint64_t Installation::InstalledSize(const std::vector<InstallEntry>& entries) {
  std::uint64_t bytes = 0;
  for (const InstallEntry& entry : entries) {
    std::unique_ptr<FileReader> file;
    if (!entry.problem && !files_.OpenForReading(Destination(entry), file)) bytes += file->Size();
  }
  return bytes;
}

// One registration belongs to one folder: an earlier install that the registration names in
// another folder is removed first by its own quiet removal, after a question.
void Installation::RemoveEarlierInstallElsewhere() {
  std::string earlier;
  if (!keepLog_ || !services_.registry.ReadKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath(request_.info.appName),
                                                    "InstallLocation", earlier) ||
      earlier.empty())
    return;
  earlier = WithTrailingBackslash(earlier);
  if (SameFileName(earlier, installFolder_) || !files_.FileExists(earlier + kInstallLogName) ||
      !files_.FileExists(earlier + kUninstallerName))
    return;
  if (!services_.ui.AskYesNo(kEarlierInstallQuestion + earlier + kEarlierInstallQuestionEnd)) return;
  if (!MayStartElevated(files_, earlier + kUninstallerName)) {
    failures_.push_back(earlier + ": other accounts can change the earlier install's uninstaller, so setup did not "
                        "start it; remove that install yourself");
    return;
  }
  if (!services_.processes.RunAndSucceed(QuotedPath(earlier + kUninstallerName) + " /S", kEarlierRemovalWaitMs))
    failures_.push_back(earlier + ": the earlier install's removal did not complete; its log names what stays");
}

void Installation::ReadEarlierEntries() {
  std::string text;
  if (!keepLog_ || !files_.FileExists(logPath_) || ReadTextFile(files_, logPath_, text)) return;
  const std::vector<std::string> lines = SplitLines(text);
  constexpr std::size_t kHeaderLines = 3;
  for (std::size_t i = kHeaderLines; i < lines.size(); ++i)
    if (lines[i].starts_with(kShortcutMarker) || lines[i].starts_with(kSystemFileMarker))
      earlierEntries_.push_back(lines[i]);
}

// The earlier install's shortcuts that this one did not make again are removed, so that
// none is left that no log names. Its system files are shared with other programs, so
// they are not removed here: they stay in the log, and the uninstaller asks about them.
void Installation::SettleEarlierEntries() {
  for (const std::string& entry : earlierEntries_) {
    bool again = false;
    for (const std::string& line : loggedLines_) again = again || SameFileName(line, entry);
    if (again) continue;
    if (entry.starts_with(kSystemFileMarker)) AppendLog(entry);
    else RemoveEarlierShortcut(entry.substr(1));
  }
}

// A shortcut file named by the earlier log, removed only where setup makes shortcuts: a
// ".lnk" file inside one of the Start Menus. Its folders go too, once empty.
void Installation::RemoveEarlierShortcut(const std::string& linkFile) {
  constexpr std::string_view kExtension = ".lnk";
  if (linkFile.size() <= kExtension.size() ||
      !SameFileName(std::string_view(linkFile).substr(linkFile.size() - kExtension.size()), kExtension))
    return;
  for (const StartMenuOwner owner : {StartMenuOwner::kAllUsers, StartMenuOwner::kCurrentUser}) {
    const std::string root = services_.shell.StartMenuFolder(owner, false);
    if (root.empty()) continue;
    const std::string base = WithTrailingBackslash(root);
    if (linkFile.size() <= base.size() || !SameFileName(std::string_view(linkFile).substr(0, base.size()), base) ||
        !IsSafeRelativeName(std::string_view(linkFile).substr(base.size())))
      continue;
    if (files_.IsReparsePoint(linkFile) || files_.RemoveFile(linkFile)) return;
    // The Start Menu's own folder of programs stays, even when empty.
    const std::string programs = services_.shell.StartMenuFolder(owner, true);
    for (std::string folder = FolderOfPath(linkFile); folder.size() > base.size() && !SameFileName(folder, programs);
         folder = FolderOfPath(folder))
      if (files_.IsReparsePoint(folder) || files_.RemoveFolder(folder)) return;
    return;
  }
}

void Installation::AppendLog(const std::string& line) {
  loggedLines_.push_back(line);
  FileError error = AppendTextLine(files_, logPath_, line);
  if (error && !logError_) logError_ = error;
}

void Installation::RegisterUninstall() {
  const SetupInfo& info = request_.info;
  const std::string key = UninstallKeyPath(info.appName);
  Registry& registry = services_.registry;
  const RegistryRoot root = RegistryRoot::kLocalMachine;
  bool written = true;
  written &= registry.SetKeyValue(root, key, "DisplayName", UninstallKeyName(info.appName) + " v" + info.appVersion);
  // Quoted, so that a folder with blanks cannot be read as a shorter program path.
  written &= registry.SetKeyValue(root, key, "UninstallString", QuotedPath(installFolder_ + kUninstallerName));
  written &= registry.SetKeyValue(root, key, "QuietUninstallString", QuotedPath(installFolder_ + kUninstallerName) + " /S");
  written &= registry.SetKeyValue(root, key, "DisplayVersion", info.appVersion);
  written &= registry.SetKeyValue(root, key, "Publisher", info.appCompany);
  if (!info.mainExe.empty()) written &= registry.SetKeyValue(root, key, "DisplayIcon", installFolder_ + info.mainExe);
  written &= registry.SetKeyValue(root, key, "InstallLocation", installFolder_);
  written &= registry.SetNumberValue(root, key, "EstimatedSize", static_cast<std::uint32_t>((installedBytes_ + 1023) / 1024));
  written &= registry.SetNumberValue(root, key, "NoModify", 1);
  written &= registry.SetNumberValue(root, key, "NoRepair", 1);
  if (!written) failures_.push_back("HKEY_LOCAL_MACHINE\\" + key + ": a value of the removal registration could not be written");
}

void Installation::CreateLinks() {
  services_.ui.ShowProgress(kCreatingLinks, kApplicationInstalled);
  services_.ui.ShowCaption(kApplicationInstalled);
  for (std::size_t slot = 0; slot < request_.shortcuts.size() && slot < kMaxShortcuts; ++slot) {
    if (request_.shortcuts[slot].empty()) break;
    ShortcutLine shortcut;
    if (ParseShortcutLine(request_.shortcuts[slot], shortcut))
      CreateOneLink(installFolder_ + shortcut.target, shortcut.name, shortcut.folder);
  }
}

// The folder that a shortcut list's folder names, below the Start Menu of every user when
// setup has administrator rights (the install is for the whole machine), else of this user.
// Its first step "Programs" is the Start Menu's folder of programs, whatever the system's
// language calls it.
std::string Installation::LinkFolder(const std::string& folder) {
  Shell& shell = services_.shell;
  StartMenuOwner owner = shell.HasAdministratorRights() ? StartMenuOwner::kAllUsers : StartMenuOwner::kCurrentUser;
  if (shell.StartMenuFolder(owner, false).empty()) owner = StartMenuOwner::kCurrentUser;
  constexpr std::string_view kPrograms = "Programs\\";
  if (folder.size() >= kPrograms.size() && SameFileName(std::string_view(folder).substr(0, kPrograms.size()), kPrograms)) {
    const std::string programs = shell.StartMenuFolder(owner, true);
    if (!programs.empty()) return WithTrailingBackslash(programs) + folder.substr(kPrograms.size());
  }
  std::string startMenu = shell.StartMenuFolder(owner, false);
  if (!startMenu.empty()) startMenu = WithTrailingBackslash(startMenu);
  return startMenu + folder;
}

void Installation::CreateOneLink(const std::string& target, const std::string& name,
                                 const std::string& folder) {
  const std::string linkFolder = LinkFolder(folder);
  const std::string linkFile = linkFolder + name + ".lnk";
  CreateFolderChain(files_, linkFolder);
  ShellLink link;
  link.target = target;
  link.description = name;
  link.workingFolder = FolderOfPath(target) + '\\';
  link.iconFile = target;
  link.iconIndex = kMainProgramLinkIcon;
  link.showCommand = kShowNormal;
  if (!services_.shell.CreateShellLink(linkFile, link)) {
    failures_.push_back(linkFile + ": the shortcut could not be saved");
    return;
  }
  AppendLog(kShortcutMarker + linkFile);
}

void Installation::RunProgram() {
  if (!request_.runAfterInstall || request_.info.mainExe.empty()) return;
  const std::string program = installFolder_ + request_.info.mainExe;
  if (!files_.FileExists(program)) {
    services_.ui.ShowMessage(program + kCouldNotBeLaunched, false);
    return;
  }
  // Never with setup's administrator rights: a program that runs elevated is one more that
  // everything it loads or reads could turn against the machine, and its settings would go
  // where its later, ordinary sessions never look. The desktop starts it as the user; where
  // it cannot, the user is told where the program is.
  if (services_.shell.HasAdministratorRights()) {
    if (!services_.shell.StartFromDesktop(program, installFolder_))
      services_.ui.ShowMessage(program + kStartItYourself, false);
    return;
  }
  if (!services_.processes.Start(QuotedPath(program), WindowShow::kNormal, installFolder_))
    services_.shell.OpenWithShell(program, installFolder_);
}

}  // namespace

std::vector<InstallEntry> BuildInstallList(const std::vector<PackRecord>& records) {
  std::vector<InstallEntry> entries;
  for (const PackRecord& record : records) {
    if (record.name.starts_with('%')) continue;
    InstallEntry entry;
    entry.item = record.name;
    entry.size = record.size;
    if (record.name.starts_with(kSystemFileMarker)) entry.kind = InstallEntry::Kind::kSystem;
    entry.path = ItemPath(record.name);
    entry.problem = ItemNameProblem(record.name);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string PercentInstalledText(std::size_t done, std::size_t total) {
  return Number(total == 0 ? 0 : static_cast<std::uint32_t>(done * 100 / total)) + "% Installed";
}

bool ParseShortcutLine(const std::string& line, ShortcutLine& shortcut) {
  const std::size_t nameEnd = line.find('\xFF');
  const std::size_t targetEnd = line.find('\xFE');
  if (nameEnd == std::string::npos || targetEnd == std::string::npos || targetEnd < nameEnd) return false;
  shortcut.name = line.substr(0, nameEnd);
  shortcut.target = line.substr(nameEnd + 1, targetEnd - nameEnd - 1);
  shortcut.folder = line.substr(targetEnd + 1);
  // The shortcut file is a name like any item's: no device, no trailing dot, no wildcard.
  return IsBareFileName(shortcut.name) && IsSafeRelativeName(shortcut.target) &&
         RelativePathProblem(shortcut.folder + shortcut.name + ".lnk") == nullptr;
}

InstallResult Install(InstallServices& services, const InstallRequest& request) {
  Installation installation(services, request);
  return installation.Run();
}

}  // namespace pelorin
