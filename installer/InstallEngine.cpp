#include "InstallEngine.h"

#include "DecimalText.h"
#include "InstallRecord.h"

namespace pelorin {

namespace {

constexpr int kMainProgramLinkIcon = 0;  // the first icon of the target
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL: a shortcut starts its program in a normal window

std::string Number(std::uint64_t value) { return FormatDecimal(static_cast<double>(value)); }

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
  bool ProgramFree();
  bool WaitForProgramToClose();
  void RemoveFolders(const std::vector<std::string>& created);
  void InstallFiles(const std::vector<InstallEntry>& entries);
  void InstallSystemFiles(const std::vector<InstallEntry>& entries);
  void ShowEntryProgress(std::size_t done, std::size_t total, const std::string& shown);
  void AppendLog(const std::string& line);
  void RegisterUninstall();
  void CreateLinks();
  void CreateOneLink(const std::string& target, const std::string& name, const std::string& folder);
  void RunProgram();

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

  // The list is read before anything is written, so that a damaged setup leaves no trace.
  list_ = request_.list ? *request_.list : ReadPackList(files_, request_.packList);
  const PackList& list = list_;
  if (list.error)
    return Stop("Setup could not read its file list " + request_.packList + ":\r\n" + ErrorText(list.error));
  if (!list.headerValid) return Stop("Setup's file list " + request_.packList + " is not a file list.");
  if (list.damaged)
    return Stop("Setup's file list " + request_.packList +
                " is damaged: an entry is not a valid name, offset, size and time.");

  if (!WaitForProgramToClose()) {
    if (!request_.quiet) return InstallResult::kCancelled;
    return Stop(request_.info.appName + " is running and did not close.");
  }

  std::vector<std::string> created;
  const FileError folderError = CreateFolderChain(files_, installFolder_, &created);
  if (!files_.FolderExists(installFolder_)) {
    RemoveFolders(created);
    return Stop("Setup could not create the install folder " + installFolder_ + ":\r\n" + ErrorText(folderError));
  }
  if (keepLog_) {
    const std::string header = request_.info.appName + "\r\n" + request_.info.appVersion + "\r\n" +
                               request_.info.mainExe + "\r\n";
    if (FileError error = ReplaceFileContents(files_, logPath_, header)) {
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
  if (keepLog_) RegisterUninstall();
  if (!request_.shortcuts.empty() && !request_.shortcuts[0].empty()) CreateLinks();

  if (logError_) failures_.push_back(logPath_ + ": " + ErrorText(logError_));
  if (!failures_.empty()) {
    std::string report = "Setup could not install these files:\r\n";
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
// asking the user (or, in a quiet run, the window) until it is.
bool Installation::WaitForProgramToClose() {
  const std::string& name = request_.info.appName;
  if (ProgramFree()) return true;
  if (!request_.quiet) {
    while (services_.ui.AskRetry(name + kRunningQuestion))
      if (ProgramFree()) return true;
    return false;
  }
  if (!name.empty()) services_.windows.Close(name);
  constexpr unsigned long kStepMs = 200;
  for (unsigned long waited = 0; waited < kQuietCloseWaitMs; waited += kStepMs) {
    services_.windows.Pause(kStepMs);
    if (ProgramFree()) return true;
  }
  return false;
}

bool Installation::ProgramFree() {
  const SetupInfo& info = request_.info;
  // An empty title would match some unrelated untitled window.
  if (!info.appName.empty() && services_.windows.IsOpen(info.appName)) return false;
  if (info.mainExe.empty() || !IsSafeRelativeName(info.mainExe)) return true;
  const std::string program = installFolder_ + info.mainExe;
  if (!files_.FileExists(program)) return true;
  // A running program's file cannot be opened for writing; nothing is written here.
  std::unique_ptr<FileWriter> writer;
  if (files_.OpenForWriting(program, true, writer)) return false;
  writer->Close();
  return true;
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
      if (!entry.safe) {
        failures_.push_back(entry.item + ": not a file name inside the install folder; skipped");
      } else {
        const ExtractOutcome outcome = Extract(entry.item, installFolder_ + entry.item);
        if (outcome.result == ExtractResult::kFailed) {
          failures_.push_back(installFolder_ + entry.item + ": " + ErrorText(outcome.error));
        } else if (outcome.result != ExtractResult::kKeptNewer) {
          installedBytes_ += entry.size;
          if (keepLog_) AppendLog(entry.item);
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
    if (system && !entry.safe) {
      failures_.push_back(entry.item + ": not a file name for the system folder; skipped");
    } else if (system) {
      const std::string destination = systemFolder_ + name;
      const ExtractOutcome outcome = Extract(entry.item, destination);
      if (outcome.result == ExtractResult::kFailed) {
        failures_.push_back(destination + ": " + ErrorText(outcome.error));
      } else {
        if (outcome.result != ExtractResult::kKeptNewer) {
          installedBytes_ += entry.size;
          services_.processes.Start(QuotedPath(systemFolder_ + "regsvr32.exe") + " /s " + QuotedPath(destination),
                                    WindowShow::kNormalNoFocus);
        }
        // Logged even when the newer copy was kept: the uninstaller asks before it removes
        // a shared system file.
        if (keepLog_) AppendLog(kSystemFileMarker + destination);
      }
    }
    ShowEntryProgress(i + 1, entries.size(), name);
  }
}

void Installation::AppendLog(const std::string& line) {
  const std::string bytes = line + "\r\n";
  std::unique_ptr<FileWriter> log;
  FileError error = files_.OpenForWriting(logPath_, true, log);
  if (!error) error = log->Write(bytes.data(), bytes.size());
  if (!error) error = log->Close();
  if (error && !logError_) logError_ = error;
}

void Installation::RegisterUninstall() {
  const SetupInfo& info = request_.info;
  const std::string key = UninstallKeyPath(info.appName);
  Registry& registry = services_.registry;
  const RegistryRoot root = RegistryRoot::kLocalMachine;
  registry.SetKeyValue(root, key, "DisplayName", UninstallKeyName(info.appName) + " v" + info.appVersion);
  // Quoted, so that a folder with blanks cannot be read as a shorter program path.
  registry.SetKeyValue(root, key, "UninstallString", QuotedPath(installFolder_ + "Uninstall.exe"));
  registry.SetKeyValue(root, key, "QuietUninstallString", QuotedPath(installFolder_ + "Uninstall.exe") + " /S");
  registry.SetKeyValue(root, key, "DisplayVersion", info.appVersion);
  registry.SetKeyValue(root, key, "Publisher", info.appCompany);
  if (!info.mainExe.empty()) registry.SetKeyValue(root, key, "DisplayIcon", installFolder_ + info.mainExe);
  registry.SetKeyValue(root, key, "InstallLocation", installFolder_);
  registry.SetNumberValue(root, key, "EstimatedSize", static_cast<std::uint32_t>((installedBytes_ + 1023) / 1024));
  registry.SetNumberValue(root, key, "NoModify", 1);
  registry.SetNumberValue(root, key, "NoRepair", 1);
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

void Installation::CreateOneLink(const std::string& target, const std::string& name,
                                 const std::string& folder) {
  std::string startMenu = services_.shell.StartMenuFolder();
  if (!startMenu.empty()) startMenu = WithTrailingBackslash(startMenu);
  const std::string linkFile = startMenu + folder + name + ".lnk";
  CreateFolderChain(files_, startMenu + folder);
  ShellLink link;
  link.target = target;
  link.description = name;
  link.workingFolder = FolderOfPath(target) + '\\';
  link.iconFile = target;
  link.iconIndex = kMainProgramLinkIcon;
  link.showCommand = kShowNormal;
  services_.shell.CreateShellLink(linkFile, link);
  AppendLog(kShortcutMarker + linkFile);
}

void Installation::RunProgram() {
  if (!request_.runAfterInstall || request_.info.mainExe.empty()) return;
  const std::string program = installFolder_ + request_.info.mainExe;
  if (!files_.FileExists(program)) {
    services_.ui.ShowMessage(program + kCouldNotBeLaunched, false);
    return;
  }
  if (!services_.processes.Start(QuotedPath(program), WindowShow::kNormal))
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
    if (record.name.starts_with(kSystemFileMarker)) {
      entry.kind = InstallEntry::Kind::kSystem;
      entry.safe = IsBareFileName(std::string_view(record.name).substr(1));
    } else {
      entry.safe = IsSafeRelativeName(record.name);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string PercentInstalledText(std::size_t done, std::size_t total) {
  return Number(total == 0 ? 0 : done * 100 / total) + "% Installed";
}

bool ParseShortcutLine(const std::string& line, ShortcutLine& shortcut) {
  const std::size_t nameEnd = line.find('\xFF');
  const std::size_t targetEnd = line.find('\xFE');
  if (nameEnd == std::string::npos || targetEnd == std::string::npos || targetEnd < nameEnd) return false;
  shortcut.name = line.substr(0, nameEnd);
  shortcut.target = line.substr(nameEnd + 1, targetEnd - nameEnd - 1);
  shortcut.folder = line.substr(targetEnd + 1);
  std::string_view folder = shortcut.folder;
  if (folder.ends_with('\\')) folder.remove_suffix(1);
  return IsBareFileName(shortcut.name) && IsSafeRelativeName(shortcut.target) &&
         (folder.empty() || IsSafeRelativeName(folder));
}

InstallResult Install(InstallServices& services, const InstallRequest& request) {
  Installation installation(services, request);
  return installation.Run();
}

}  // namespace pelorin
