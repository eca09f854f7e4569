#include "InstallEngine.h"

#include "Concat.h"
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

// Appends the parts one after another, then the system's reason for `error` when there is one:
// its text, with its number so that a report in any language can be read.
void AppendReport(String& text, const char* lead, std::string_view path, const char* tail, const FileError* error) {
  text += lead;
  text += path;
  text += tail;
  if (error == nullptr) return;
  if (!*error) {
    text += "unknown error";
    return;
  }
  text += FileErrorText(*error);
  text += " (system error ";
  text += WholeNumberText(error->systemCode);
  text += ')';
}

// A path in quotation marks, so that blanks in it cannot end a command line's program.
String Quoted(std::string_view path, std::string_view after = {}) { return Concat({"\"", path, "\"", after}); }

// A file name without any folder part.
bool IsBareFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

class Installation {
 public:
  Installation(InstallServices& services, const InstallRequest& request)
      : files_(services.files), services_(services), request_(request), info_(*request.info),
        shortcuts_(*request.shortcuts),
        installFolder_(WithTrailingBackslash(request.installPath)),
        logPath_(installFolder_ + kInstallLogName), keepLog_(info_.noUninstall == 0),
        editor_{kEditorWindowClass, info_.appName, installFolder_ + info_.mainExe},
        uninstaller_(installFolder_ + kUninstallerName),
        systemFolder_(WithTrailingBackslash(services.shell.SystemFolder())) {}

  InstallResult Run();

 private:
  // Shows why nothing was installed: `lead`, the path it names, `tail`, then the system's
  // reason for `error` when there is one.
  InstallResult Stop(const char* lead, std::string_view path, const char* tail, const FileError* error = nullptr);
  // Records a line of the report of what is not in place: the path, what befell it, then the
  // system's reason for `error` when there is one.
  void Fail(std::string_view path, const char* what, const FileError* error = nullptr) {
    AppendReport(failures_, "\r\n", path, what, error);
  }
  bool ProgramFree(FileError& refusal);
  bool WaitForProgramToClose(FileError& refusal);
  void RemoveFolders(const std::vector<String>& created);
  void InstallItems(bool system);
  void InstallItem(const PackRecord& record, bool system);
  void AppendLog(const String& line);
  void RegisterUninstall();
  void CreateLinks();
  void CreateOneLink(const ShortcutLine& shortcut);
  String LinkFolder(std::string_view folder);
  void RemoveEarlierInstallElsewhere();
  void ReadEarlierEntries();
  void SettleEarlierEntries();
  void RemoveEarlierShortcut(const String& linkFile);
  void RunProgram();
  String Destination(const PackRecord& record) const;
  std::uint64_t InstalledSize();

  FileSystem& files_;
  InstallServices& services_;
  const InstallRequest& request_;
  const SetupInfo& info_;
  const std::vector<String>& shortcuts_;
  const String installFolder_;
  const String logPath_;
  const bool keepLog_;
  // The install folder's own editor, by its window and program file.
  const ProgramWindow editor_;
  const String uninstaller_;
  const String systemFolder_;
  String failures_;  // a line, each after CR LF, per file that is not in place, and why
  FileError logError_;                 // the first log line that could not be written
  std::uint64_t installedBytes_ = 0;
  bool uninstallerInstalled_ = false;
  // The "&" and "$" lines of the log this install replaces; one that this install logs again
  // is emptied.
  std::vector<String> earlierEntries_;
  const PackList* list_ = nullptr;
  HeldPath held_;

  ExtractOutcome Extract(const String& item, const String& destination) {
    // A quiet run replaces this application's own programs whatever their dates, which anyone
    // can set: a reinstall then repairs a changed program.
    const bool own = request_.quiet && (SameFileName(destination, editor_.programPath) ||
                                        SameFileName(destination, uninstaller_));
    // The first record of the name, as the pack's readers take it.
    return ExtractRecord(files_, services_.ui, *request_.data, *list_->Find(item), destination, own);
  }
};

InstallResult Installation::Run() {
  // With no name the removal key would be the system's Uninstall key itself.
  if (info_.appName.empty()) return Stop(kCorruptSetupMessage, {}, "");

  // The list is judged before anything is written, so that a damaged setup leaves no trace.
  list_ = request_.list;
  const PackList& list = *list_;
  if (list.error) return Stop("Setup could not read its file list ", request_.packList, ":\r\n", &list.error);
  if (!list.headerValid) return Stop("Setup's file list ", request_.packList, " is not a file list.");
  if (list.damaged)
    return Stop("Setup's file list ", request_.packList,
                " is damaged: an entry is not a valid name, offset, size and time.");

  FileError refusal;
  if (!WaitForProgramToClose(refusal)) {
    if (refusal)
      return Stop("Setup cannot replace ", editor_.programPath, ":\r\n", &refusal);
    if (!request_.quiet) return InstallResult::kCancelled;
    return Stop("", info_.appName, " is running and did not close.");
  }
  RemoveEarlierInstallElsewhere();
  ReadEarlierEntries();

  // Every folder setup makes has an install folder's rights alone, whatever its parent lets
  // others do: for every user, nobody but the administrators can change what runs from it;
  // for one account, that account too. Every folder of the path stays held until the
  // install ends, so none can be swapped for another once judged.
  // The account counts only for an install for it alone.
  const FolderUse use = request_.scope == InstallScope::kMachine ? FolderUse::kInstall : FolderUse::kPrivate;
  const FileError folderError = HoldInstallPath(files_, FolderOfPath(installFolder_), request_.scope,
                                                FolderRightsText(use, request_.accountSid), held_);
  const std::vector<String>& created = held_.created;
  if (folderError || held_.problem) {
    held_.holds.clear();
    RemoveFolders(created);
    if (folderError)
      return Stop("Setup could not create the install folder ", installFolder_,
                  held_.unheld.empty() ? ":\r\n" : Concat({":\r\n", held_.unheld, ": "}).c_str(), &folderError);
    return Stop("Setup will not install into ", installFolder_, Concat({": ", held_.problem, "."}).c_str());
  }
  if (keepLog_) {
    const SetupInfo& info = info_;
    if (FileError error = ReplaceTextFile(
            files_, logPath_, Concat({info.appName, "\r\n", info.appVersion, "\r\n", info.mainExe, "\r\n"}))) {
      RemoveFolders(created);
      return Stop("Setup could not write the install log ", logPath_, ":\r\n", &error);
    }
    // Removal takes away these folders and no other; without the record it leaves them.
    if (FileError error = RecordCreatedFolders(files_, installFolder_, created))
      Fail(installFolder_ + kCreatedFoldersName, ": ", &error);
  }

  // The install folder's files first, then the system's.
  InstallItems(false);
  InstallItems(true);
  installedBytes_ = InstalledSize();
  // A registration whose uninstaller is missing could never be used, nor removed.
  if (keepLog_ && uninstallerInstalled_) RegisterUninstall();
  if (!shortcuts_.empty() && !shortcuts_[0].empty()) CreateLinks();
  SettleEarlierEntries();

  if (logError_) Fail(logPath_, ": ", &logError_);
  if (!failures_.empty()) services_.ui.ShowMessage("Setup could not install or set up these:\r\n" + failures_, true);
  RunProgram();
  return failures_.empty() ? InstallResult::kInstalled : InstallResult::kWithFailures;
}

InstallResult Installation::Stop(const char* lead, std::string_view path, const char* tail, const FileError* error) {
  String text;
  AppendReport(text, lead, path, tail, error);
  text += "\r\n\r\nNothing has been installed.";
  services_.ui.ShowMessage(text, true);
  return InstallResult::kStopped;
}

// Whether the application's window is closed and its program file can be replaced, after
// asking the user (or, in a quiet run, the window) until it is. A program file that is
// refused for another reason than being in use ends the wait with that reason.
bool Installation::WaitForProgramToClose(FileError& refusal) {
  const String& name = info_.appName;
  if (ProgramFree(refusal)) return true;
  if (refusal) return false;
  if (!request_.quiet) {
    const String question = name + kRunningQuestion;
    while (services_.ui.AskRetry(question))
      if (ProgramFree(refusal) || refusal) return !refusal;
    return false;
  }
  // Only the install folder's own editor is asked: a window of another program with the
  // same title is never touched.
  if (!name.empty() && IsSafeRelativeName(info_.mainExe))
    services_.windows.CloseProgram(editor_, kQuietCloseWaitMs);
  constexpr unsigned long kStepMs = 200;
  for (unsigned long waited = 0; waited < kQuietCloseWaitMs; waited += kStepMs) {
    services_.windows.Pause(kStepMs);
    if (ProgramFree(refusal) || refusal) return !refusal;
  }
  return false;
}

bool Installation::ProgramFree(FileError& refusal) {
  const SetupInfo& info = info_;
  if (info.mainExe.empty() || !IsSafeRelativeName(info.mainExe)) return true;
  const String& program = editor_.programPath;
  // Only this folder's own editor counts: another program's window with the same title does
  // not hold the install up. An empty title would match some unrelated untitled window.
  if (!info.appName.empty() && services_.windows.IsRunning(editor_)) return false;
  if (!files_.FileExists(program)) return true;
  // A running program's file cannot be opened for writing; nothing is written here. A
  // read-only file or one this account may not write is no running program.
  std::unique_ptr<FileWriter> writer;
  if (FileError error = files_.OpenForWriting(program, true, writer)) {
    if (!IsInUse(error)) refusal = std::move(error);
    return false;
  }
  writer->Close();
  return true;
}

void Installation::RemoveFolders(const std::vector<String>& created) {
  for (auto folder = created.rbegin(); folder != created.rend(); ++folder) files_.RemoveFolder(*folder);
}

// One pass over the pack's installed items (all but setup data, "%" first) installs those of
// one kind: files for the system folder ("$" first) or the others. The bar runs over all of them.
void Installation::InstallItems(bool system) {
  std::size_t total = 0;
  for (const PackRecord& record : list_->records) total += !record.name.starts_with('%');
  std::size_t done = 0;
  for (const PackRecord& record : list_->records) {
    if (record.name.starts_with('%')) continue;
    const bool ours = record.name.starts_with(kSystemFileMarker) == system;
    if (ours) InstallItem(record, system);
    // The system pass shows a system file by its name without the marker.
    const std::size_t marker = ours && system ? 1 : 0;
    ++done;
    services_.ui.ShowProgress(PercentInstalledText(done, total),
                              Concat({"Installing ", std::string_view(record.name).substr(marker)}));
    services_.ui.ShowBar(done, total);
  }
}

void Installation::InstallItem(const PackRecord& record, bool system) {
  // Names are checked by ItemNameProblem: one Windows would change is skipped.
  if (const char* problem = ItemNameProblem(record.name)) {
    Fail(record.name, ": ");
    failures_ += problem;
    failures_ += "; skipped";
    return;
  }
  const String destination = Destination(record);
  const ExtractOutcome outcome = Extract(record.name, destination);
  if (outcome.result == ExtractResult::kFailed) {
    Fail(destination, ": ", &outcome.error);
    return;
  }
  const bool copied = outcome.result != ExtractResult::kKeptNewer;
  if (!system) {
    const std::string_view path = std::string_view(destination).substr(installFolder_.size());
    if (copied && keepLog_) AppendLog(String(path));
    if (SameFileName(path, kUninstallerName) && files_.FileExists(destination)) uninstallerInstalled_ = true;
    return;
  }
  // Run in the system folder, so that nothing it loads comes from setup's folder, and
  // waited for: a file it could not register is reported like one not written.
  if (copied && !services_.processes.RunAndSucceed(
                    Concat({"\"", systemFolder_, "regsvr32.exe\" /s \"", destination, "\""}), kRegisterWaitMs,
                    systemFolder_))
    Fail(destination, ": regsvr32 could not register it");
  // Logged even when the newer copy was kept: the uninstaller asks before it removes a
  // shared system file.
  if (keepLog_) AppendLog(Concat({std::string_view(&kSystemFileMarker, 1), destination}));
}

String Installation::Destination(const PackRecord& record) const {
  return (record.name.starts_with(kSystemFileMarker) ? systemFolder_ : installFolder_) + ItemPath(record.name);
}

// The installed files as they stand now, kept newer ones included.
std::uint64_t Installation::InstalledSize() {
  std::uint64_t bytes = 0;
  for (const PackRecord& record : list_->records) {
    std::unique_ptr<FileReader> file;
    if (!record.name.starts_with('%') && !ItemNameProblem(record.name) &&
        !files_.OpenForReading(Destination(record), file))
      bytes += file->Size();
  }
  return bytes;
}

// One registration belongs to one folder: an earlier install that the registration names in
// another folder is removed first by its own quiet removal, after a question.
void Installation::RemoveEarlierInstallElsewhere() {
  if (!keepLog_) return;
  // A folder that the registration names and that holds an install log.
  String earlier = RegisteredInstallFolder(files_, services_.registry, info_.appName, request_.scope);
  if (earlier.empty()) return;
  earlier = WithTrailingBackslash(earlier);
  const String uninstaller = earlier + kUninstallerName;
  if (SameFileName(earlier, installFolder_) || !files_.FileExists(uninstaller)) return;
  if (!services_.ui.AskYesNo(Concat({kEarlierInstallQuestion, earlier, kEarlierInstallQuestionEnd}))) return;
  if (!MayStartElevated(files_, uninstaller)) {
    Fail(earlier, ": other accounts can change the earlier install's uninstaller, so setup did not "
                  "start it; remove that install yourself");
    return;
  }
  if (!services_.processes.RunAndSucceed(Quoted(uninstaller, " /S"), kEarlierRemovalWaitMs))
    Fail(earlier, ": the earlier install's removal did not complete; its log names what stays");
}

void Installation::ReadEarlierEntries() {
  String text;
  if (!keepLog_ || !files_.FileExists(logPath_) || ReadTextFile(files_, logPath_, text)) return;
  std::vector<String> lines = SplitLines(text);
  constexpr std::size_t kHeaderLines = 3;
  for (std::size_t i = kHeaderLines; i < lines.size(); ++i)
    if (lines[i].starts_with(kShortcutMarker) || lines[i].starts_with(kSystemFileMarker))
      earlierEntries_.push_back(std::move(lines[i]));
}

// The earlier install's shortcuts that this one did not make again are removed, so that
// none is left that no log names. Its system files are shared with other programs, so
// they are not removed here: they stay in the log, and the uninstaller asks about them.
void Installation::SettleEarlierEntries() {
  for (String& entry : earlierEntries_) {
    if (entry.empty()) continue;
    // Emptied first, so that the log takes it once however often the earlier log named it.
    const String line = std::move(entry);
    entry.clear();
    if (line.starts_with(kSystemFileMarker)) AppendLog(line);
    else RemoveEarlierShortcut(line.substr(1));
  }
}

// A shortcut file named by the earlier log, removed only where setup makes shortcuts: a
// ".lnk" file inside one of the Start Menus. Its folders go too, once empty.
void Installation::RemoveEarlierShortcut(const String& linkFile) {
  constexpr std::string_view kExtension = ".lnk";
  if (linkFile.size() <= kExtension.size() ||
      !SameFileName(std::string_view(linkFile).substr(linkFile.size() - kExtension.size()), kExtension))
    return;
  for (const StartMenuOwner owner : {StartMenuOwner::kAllUsers, StartMenuOwner::kCurrentUser}) {
    String base = services_.shell.StartMenuFolder(owner, false);
    if (base.empty()) continue;
    if (!base.ends_with('\\')) base += '\\';
    if (linkFile.size() <= base.size() || !SameFileName(std::string_view(linkFile).substr(0, base.size()), base) ||
        !IsSafeRelativeName(std::string_view(linkFile).substr(base.size())))
      continue;
    if (files_.IsReparsePoint(linkFile) || files_.RemoveFile(linkFile)) return;
    // The Start Menu's own folder of programs stays, even when empty.
    const String programs = services_.shell.StartMenuFolder(owner, true);
    // Each folder up from the link's, while below the Start Menu: the link's path holds the
    // Start Menu's backslash.
    for (String folder = linkFile;;) {
      folder.erase(folder.rfind('\\'));
      if (folder.size() <= base.size() || SameFileName(folder, programs) || files_.IsReparsePoint(folder) ||
          files_.RemoveFolder(folder))
        return;
    }
  }
}

void Installation::AppendLog(const String& line) {
  for (String& entry : earlierEntries_)
    if (SameFileName(entry, line)) entry.clear();
  FileError error = AppendTextLine(files_, logPath_, line);
  if (error && !logError_) logError_ = std::move(error);
}

void Installation::RegisterUninstall() {
  const SetupInfo& info = info_;
  const String key = UninstallKeyPath(info.appName);
  Registry& registry = services_.registry;
  const RegistryRoot root = RegistrationRoot(request_.scope);
  const String displayName = Concat({UninstallKeyName(info.appName), " v", info.appVersion});
  // Quoted, so that a folder with blanks cannot be read as a shorter program path.
  const String uninstaller = Quoted(uninstaller_);
  const String quietUninstaller = uninstaller + " /S";
  // The texts, then the size in KB, then flags that are set.
  static constexpr const char* kNames[] = {"DisplayName",     "UninstallString", "QuietUninstallString",
                                           "DisplayVersion",  "Publisher",       "DisplayIcon",
                                           "InstallLocation", "EstimatedSize",   "NoModify",
                                           "NoRepair"};
  const String* const texts[] = {  // null: not written
      &displayName,      &uninstaller,     &quietUninstaller,
      &info.appVersion,  &info.appCompany, info.mainExe.empty() ? nullptr : &editor_.programPath,
      &installFolder_};
  constexpr std::size_t kKilobytes = std::size(texts);
  const auto kilobytes = static_cast<std::uint32_t>((installedBytes_ + 1023) / 1024);
  bool written = true;
  for (std::size_t i = 0; i < std::size(kNames); ++i) {
    const String name = kNames[i];
    if (i >= kKilobytes) written &= registry.SetNumberValue(root, key, name, i == kKilobytes ? kilobytes : 1);
    else if (texts[i] != nullptr) written &= registry.SetKeyValue(root, key, name, *texts[i]);
  }
  if (!written)
    Fail(Concat({root == RegistryRoot::kLocalMachine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\", key}),
         ": a value of the removal registration could not be written");
}

void Installation::CreateLinks() {
  const String installed = kApplicationInstalled;
  services_.ui.ShowProgress(kCreatingLinks, installed);
  services_.ui.ShowCaption(installed);
  for (std::size_t slot = 0; slot < shortcuts_.size() && slot < kMaxShortcuts; ++slot) {
    if (shortcuts_[slot].empty()) break;
    ShortcutLine shortcut;
    if (ParseShortcutLine(shortcuts_[slot], shortcut)) CreateOneLink(shortcut);
  }
}

// The folder that a shortcut list's folder names, below the Start Menu of every user for an
// install for every user, else of this user.
// Its first step "Programs" is the Start Menu's folder of programs, whatever the system's
// language calls it.
String Installation::LinkFolder(std::string_view folder) {
  Shell& shell = services_.shell;
  StartMenuOwner owner =
      request_.scope == InstallScope::kMachine ? StartMenuOwner::kAllUsers : StartMenuOwner::kCurrentUser;
  String base = shell.StartMenuFolder(owner, false);
  if (base.empty()) {
    owner = StartMenuOwner::kCurrentUser;
    base = shell.StartMenuFolder(owner, false);
  }
  constexpr std::string_view kPrograms = "Programs\\";
  std::string_view rest = folder;
  if (SameFileName(rest.substr(0, kPrograms.size()), kPrograms)) {
    String programs = shell.StartMenuFolder(owner, true);
    if (!programs.empty()) {
      base = std::move(programs);
      rest.remove_prefix(kPrograms.size());
    }
  }
  if (!base.empty() && !base.ends_with('\\')) base += '\\';
  base += rest;
  return base;
}

void Installation::CreateOneLink(const ShortcutLine& shortcut) {
  const String linkFolder = LinkFolder(shortcut.folder);
  const String linkFile = Concat({linkFolder, shortcut.name, ".lnk"});
  CreateFolderChain(files_, linkFolder);
  const String target = Concat({installFolder_, shortcut.target});
  // The target's folder, with its backslash: the install folder's has one.
  const ShellLink link{.target = target,
                       .description = String(shortcut.name),
                       .workingFolder = target.substr(0, target.rfind('\\') + 1),
                       .arguments = {},
                       .iconFile = target,
                       .iconIndex = kMainProgramLinkIcon,
                       .showCommand = kShowNormal};
  if (!services_.shell.CreateShellLink(linkFile, link)) {
    Fail(linkFile, ": the shortcut could not be saved");
    return;
  }
  AppendLog(Concat({std::string_view(&kShortcutMarker, 1), linkFile}));
}

void Installation::RunProgram() {
  if (!request_.runAfterInstall || info_.mainExe.empty()) return;
  const String& program = editor_.programPath;
  const char* notice = kCouldNotBeLaunched;
  if (files_.FileExists(program)) {
    // Never with setup's administrator rights: a program that runs elevated is one more that
    // everything it loads or reads could turn against the machine, and its settings would go
    // where its later, ordinary sessions never look. The desktop starts it as the user; where
    // it cannot, the user is told where the program is.
    if (!services_.shell.HasAdministratorRights()) {
      if (!services_.processes.Start(Quoted(program), WindowShow::kNormal, installFolder_))
        services_.shell.OpenWithShell(program, installFolder_);
      return;
    }
    if (services_.shell.StartFromDesktop(program, installFolder_)) return;
    notice = kStartItYourself;
  }
  services_.ui.ShowMessage(program + notice, false);
}

}  // namespace

String PercentInstalledText(std::size_t done, std::size_t total) {
  return WholeNumberText(total == 0 ? 0 : static_cast<std::uint32_t>(done * 100 / total)) + "% Installed";
}

bool ParseShortcutLine(std::string_view line, ShortcutLine& shortcut) {
  const std::size_t nameEnd = line.find('\xFF');
  const std::size_t targetEnd = line.find('\xFE');
  if (nameEnd == std::string_view::npos || targetEnd == std::string_view::npos || targetEnd < nameEnd) return false;
  shortcut.name = line.substr(0, nameEnd);
  shortcut.target = line.substr(nameEnd + 1, targetEnd - nameEnd - 1);
  shortcut.folder = line.substr(targetEnd + 1);
  // The shortcut file is a name like any item's: no device, no trailing dot, no wildcard.
  return IsBareFileName(shortcut.name) && IsSafeRelativeName(shortcut.target) &&
         RelativePathProblem(Concat({shortcut.folder, shortcut.name, ".lnk"})) == nullptr;
}

InstallResult Install(InstallServices& services, const InstallRequest& request) {
  Installation installation(services, request);
  return installation.Run();
}

}  // namespace pelorin
