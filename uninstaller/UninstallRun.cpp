#include "UninstallRun.h"

#include "Concat.h"
#include "DecimalText.h"
#include "FolderRights.h"
#include "InstallRecord.h"
#include "InstallScope.h"
#include "ItemNames.h"
#include "RemovalPlan.h"
#include "TextFile.h"
#include "TextLines.h"

namespace pelorin {

namespace {

// The maker's key below HKEY_LOCAL_MACHINE, which holds a key per product of its maker.
constexpr char kMakerKey[] = "SOFTWARE\\Brackwater";
// Folders tried for the batch file when one turns out to hold a file someone else put there.
constexpr int kBatchFolderAttempts = 3;
// The maker's key in the system's copies of the machine's SOFTWARE key, for 32- and 64-bit programs.
constexpr const char* kVirtualMakerKeys[] = {
    "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Brackwater",
    "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Brackwater"};

// Why a file operation failed; empty when it did not.
String ErrorText(const FileError& error) {
  if (!error) return {};
  return FileErrorText(error);
}

bool IsGone(const FileError& error) {
  return error.kind == FileError::Kind::kFileNotFound || error.kind == FileError::Kind::kPathNotFound;
}

class Removal {
 public:
  Removal(const UninstallServices& services, const UninstallPlace& place)
      : s_(services), place_(place), installFolder_(FolderOfPath(place.programPath)),
        logPath_(Concat({installFolder_, "\\", kInstallLogName})),
        recordPath_(Concat({installFolder_, "\\", kCreatedFoldersName})), plan_(ReadLog()) {}

  UninstallEnd Run();

 private:
  RemovalPlan ReadLog();
  bool PlanFound();
  bool RegistrationIsOurs();
  bool CloseEditor();
  void LetProgramUndoItself();
  void DeleteMakerKey(RegistryRoot root, const String& maker);
  void RemoveEntry(const PlannedDeletion& deletion);
  void Delete(const PlannedDeletion& deletion);
  void Keep(const PlannedDeletion& deletion, std::string_view why);
  FileError RemoveEvenReadOnly(const String& path);
  void RemoveEditorFiles(const String& folder, bool evenReadOnly);
  void RemoveEditorCopies(const String& base, std::string_view below);
  bool LinkOnTheWay(const String& folder, std::string_view stopFolder);
  void RemoveVirtualCopies();
  UninstallEnd KeepWhatRemains();
  bool StartSelfRemoval();
  bool HandOver(const String& batchFolder, String& program, bool wasInstalled);
  FileError CopyNewFile(const String& from, const String& to);
  std::size_t RecordedLevels() const;
  String ConsoleName(const String& path) const {
    return place_.consoleName != nullptr ? place_.consoleName(path) : path;
  }

  const UninstallServices s_;  // a copy of the references: one load less at every call
  const UninstallPlace& place_;
  const String installFolder_;
  const String logPath_;
  const String recordPath_;
  FileError logError_;  // why the log could not be read
  RemovalPlan plan_;
  InstallScope scope_ = InstallScope::kMachine;
  bool registrationIsOurs_ = true;
  String failures_;   // a line per file that stays, and why, each after a line end
  String remaining_;  // the log lines of those files, each with its line end
  std::vector<String> standingFolders_;  // recorded folders another program still stood in
};

UninstallEnd Removal::Run() {
  if (!PlanFound()) return UninstallEnd::kLogMissing;
  scope_ = ScopeOfInstall(s_.registry, plan_.appName, installFolder_);
  if (NeedsElevation(scope_, place_.elevated)) return UninstallEnd::kNeedsRights;
  s_.ui.Show();
  s_.ui.ShowStatus("Preparing to Uninstall...");
  if (!s_.ui.Ask(Concat({"Are you sure you want to Uninstall ", plan_.appName, " v", plan_.appVersion, "?"}),
                 kConfirmCaption))
    return UninstallEnd::kDeclined;
  if (!CloseEditor()) return UninstallEnd::kEditorRunning;
  LetProgramUndoItself();

  registrationIsOurs_ = RegistrationIsOurs();
  const std::size_t count = plan_.deletions.size();
  for (std::size_t i = 0; i < count; ++i) {
    RemoveEntry(plan_.deletions[i]);
    s_.ui.ShowProgress(i, count);
  }
  RemoveVirtualCopies();
  if (!failures_.empty()) return KeepWhatRemains();

  if (StartSelfRemoval()) return UninstallEnd::kRemoved;
  s_.ui.Tell(Concat({"Everything else is removed, but ", place_.programPath, " could not set up its own removal."}));
  return UninstallEnd::kIncomplete;
}

// A registration that names another folder belongs to another install of the same name:
// it stays, and with it its shortcuts and shared files.
bool Removal::RegistrationIsOurs() {
  String location;
  return !s_.registry.ReadKeyValue(RegistrationRoot(scope_), UninstallKeyPath(plan_.appName), "InstallLocation",
                                   location) ||
         location.empty() || IsSamePath(location, installFolder_);
}

// Made before anything else happens, in place.
RemovalPlan Removal::ReadLog() {
  String text, record;
  if ((logError_ = ReadTextFile(s_.files, logPath_, text))) return {};
  ReadTextFile(s_.files, recordPath_, record);
  return PlanRemoval(text, record, {installFolder_, place_.programPath, place_.systemFolder, place_.programsFolders});
}

// Whether the log was read and plans a removal; else says why not.
bool Removal::PlanFound() {
  if (!logError_ && plan_.stop == PlanStop::kNone) return true;
  if (IsGone(logError_)) {
    s_.ui.Tell(kLogMissingMessage);
    return false;
  }
  s_.ui.Tell(Concat({"The install log ", logPath_,
                     logError_                            ? " could not be read: "
                     : plan_.stop == PlanStop::kNoHeader ? " lacks its three header lines."
                                                          : " names no program.",
                     ErrorText(logError_), "\r\n\r\nNothing has been removed."}));
  return false;
}

// Asks the editor to close and waits for its process to end; false when the user, or a
// quiet run, gives up while it still runs.
bool Removal::CloseEditor() {
  if (plan_.mainProgram.empty() || !s_.files.FileExists(plan_.mainProgram)) return true;
  const ProgramWindow editor{kEditorWindowClass, plan_.appName, plan_.mainProgram};
  while (!s_.windows.CloseProgram(editor, kEditorCloseWaitMs)) {
    if (!s_.ui.AskRetry(Concat({plan_.appName, " (", plan_.mainProgram,
                                ") is still running. Close it, then choose Retry; Cancel stops the removal, "
                                "and nothing is removed."})))
      return false;
  }
  return true;
}

// Tells the installed program that it is being removed, so that it drops its own settings;
// when it cannot, its key is removed here.
void Removal::LetProgramUndoItself() {
  // Started with this run's administrator rights, so only from where nobody else can change it.
  if (!plan_.mainProgram.empty() && MayStartElevated(s_.files, plan_.mainProgram) &&
      s_.processes.RunAndWait(Concat({"\"", plan_.mainProgram, "\" uninstall"}), kProgramWaitMs))
    return;
  DeleteMakerKey(RegistryRoot::kLocalMachine, kMakerKey);
}

// The program's key below its maker's, and the maker's key once no other product has one.
void Removal::DeleteMakerKey(RegistryRoot root, const String& maker) {
  s_.registry.DeleteKey(root, Concat({maker, "\\", UninstallKeyName(plan_.appName)}));
  s_.registry.DeleteEmptyKey(root, maker);
}

void Removal::RemoveEntry(const PlannedDeletion& deletion) {
  switch (deletion.kind) {
    case EntryKind::kSystemFile:
      if (!registrationIsOurs_ ||
          !s_.ui.Ask(Concat({deletion.path, " was installed by ", plan_.appName,
                             " but could possibly be used by other programs.  Are you sure you want to Uninstall it?"}),
                     kSystemFileCaption))
        return;
      // Setup registered it, so it is unregistered before it goes.
      s_.processes.RunAndWait(
          Concat({"\"", place_.systemFolder, "\\regsvr32.exe\" /u /s \"", deletion.path, "\""}), kUnregisterWaitMs);
      Delete(deletion);
      return;
    case EntryKind::kShortcut:
      if (!registrationIsOurs_) return;
      [[fallthrough]];
    case EntryKind::kInstalledFile: {
      // A link or junction placed in a folder below the stop folder would lead the deletion
      // somewhere else.
      const String folder = FolderOfPath(deletion.path);
      if (LinkOnTheWay(folder, deletion.stopFolder)) return Keep(deletion, "a folder on its way is a link; not followed");
      Delete(deletion);
      RemoveEmptyFolders(s_.files, folder, deletion.stopFolder);
      return;
    }
    case EntryKind::kSkipped:
      return;
  }
}

void Removal::Delete(const PlannedDeletion& deletion) {
  const FileError error = RemoveEvenReadOnly(deletion.path);
  if (error && !IsGone(error)) Keep(deletion, ErrorText(error));
}

void Removal::Keep(const PlannedDeletion& deletion, std::string_view why) {
  failures_.append("\r\n").append(deletion.path).append(": ").append(why);
  remaining_.append(deletion.entry).append("\r\n");
}

FileError Removal::RemoveEvenReadOnly(const String& path) {
  FileError error = s_.files.RemoveFile(path);
  if (error && !IsGone(error) && !s_.files.MakeWritable(path)) error = s_.files.RemoveFile(path);
  return error;
}

// The editor's files in `folder`: those it keeps, and the temporary files of saves that were
// cut short, whose names end in a number nobody can foresee.
void Removal::RemoveEditorFiles(const String& folder, bool evenReadOnly) {
  std::vector<String> saves;
  if (s_.files.ListFiles(folder, Concat({kEditorFiles[0], ".*.tmp"}), saves)) saves.clear();
  // Those it keeps first, then the saves' files.
  constexpr std::size_t kKept = std::size(kEditorFiles);
  for (std::size_t i = 0; i < kKept + saves.size(); ++i) {
    const std::string_view name = i < kKept ? std::string_view(kEditorFiles[i]) : std::string_view(saves[i - kKept]);
    if (i >= kKept && !IsTemporaryNameOf(name, kEditorFiles[0])) continue;
    const String path = Concat({folder, "\\", name});
    if (evenReadOnly) RemoveEvenReadOnly(path);
    else s_.files.RemoveFile(path);
  }
}

// The editor's files in `below` under `base`, and the folders that leaves empty; a link on
// the way, which the user may have made, would lead the deletion elsewhere.
void Removal::RemoveEditorCopies(const String& base, std::string_view below) {
  if (base.empty()) return;
  const String folder = Concat({base, base.back() == '\\' ? "" : "\\", below});
  if (LinkOnTheWay(folder, base)) return;
  RemoveEditorFiles(folder, false);
  RemoveEmptyFolders(s_.files, folder, base);
}

// Whether `folder`, or a folder between it and `stopFolder`, is a link or junction.
bool Removal::LinkOnTheWay(const String& folder, std::string_view stopFolder) {
  for (String step = folder; IsInsideFolder(step, stopFolder); step = FolderOfPath(step))
    if (s_.files.IsReparsePoint(step)) return true;
  return false;
}

// The copies the system made of the editor's writes into protected places, so that a new
// install starts clean.
void Removal::RemoveVirtualCopies() {
  if (installFolder_.size() > 2 && installFolder_[1] == ':')
    RemoveEditorCopies(place_.virtualStore, std::string_view(installFolder_).substr(3));
  // The settings the editor of an install for every user kept in this user's own folder;
  // an install for one account keeps them beside itself, and another install's stay.
  if (scope_ == InstallScope::kMachine) RemoveEditorCopies(place_.appData, kEditorSettingsFolder);
  for (const char* key : kVirtualMakerKeys) DeleteMakerKey(RegistryRoot::kCurrentUser, key);
}

// Some files stay: the log keeps naming them and the registration stays, so that running
// the uninstaller again finishes the removal.
UninstallEnd Removal::KeepWhatRemains() {
  plan_.header += remaining_;
  const FileError logError = ReplaceTextFile(s_.files, logPath_, plan_.header);
  s_.ui.Tell(Concat({"These files could not be removed:\r\n", failures_, "\r\n\r\n",
                     logError ? "The install log could not be updated: "
                              : "Run Uninstall again once they are free to finish the removal.",
                     ErrorText(logError)}));
  return UninstallEnd::kIncomplete;
}

// The uninstaller's own file cannot be deleted while it runs, but it can be moved, or else
// copied, into the run's own folder (HandOver); once this program has ended, the batch file
// there deletes what is in that folder, and tries the recorded folders that another program
// still stood in again.
bool Removal::StartSelfRemoval() {
  RemoveEmptyBatchFolders(s_.files, place_.temporaryFolder);
  s_.files.RemoveFile(logPath_);
  s_.files.RemoveFile(recordPath_);
  if (registrationIsOurs_) s_.registry.DeleteKey(RegistrationRoot(scope_), UninstallKeyPath(plan_.appName));

  // A batch file that cannot be created new had something in its place before it: that
  // folder is not this run's alone, so its file is never started and another folder is made.
  String program = place_.programPath;  // where the uninstaller's file is now
  String batchFolder;
  for (int attempt = 0; attempt < kBatchFolderAttempts; ++attempt) {
    if (CreatePrivateFolder(s_.files, place_.temporaryFolder, kBatchFolderPrefix, place_.folderSource, batchFolder) ||
        !HandOver(batchFolder, program, attempt == 0))
      break;
    const SelfRemovalPaths paths{ConsoleName(program), ConsoleName(batchFolder), ConsoleName(place_.systemFolder),
                                 standingFolders_};
    const String batchFile = Concat({batchFolder, "\\", kBatchFileName});
    if (!s_.files.WriteNewFile(batchFile, SelfRemovalBatch(paths)))
      return s_.processes.Start(SelfRemovalCommand(place_.systemFolder, batchFile), WindowShow::kHidden);
  }
  return false;
}

// Brings the uninstaller's file from `program` into `batchFolder`. Where the installed file
// cannot be moved (another drive), a copy of it is made there and started to delete the
// installed file, by its identity, once this program has ended, with the install folder and
// the folders above it that setup made where they are empty then. The editor's files and the
// folders go here and now. `wasInstalled`: `program` is still the installed file, as it is
// until the first hand-over.
bool Removal::HandOver(const String& batchFolder, String& program, bool wasInstalled) {
  const String moved = Concat({batchFolder, "\\", kUninstallerCopyName});
  const bool moveFailed = static_cast<bool>(s_.files.MoveFileOver(program, moved));
  if (moveFailed && !wasInstalled) return false;
  if (moveFailed && (place_.startCopy == nullptr || CopyNewFile(program, moved) ||
                     !place_.startCopy(moved, installFolder_, RecordedLevels()))) {
    s_.files.RemoveFile(moved);
    return false;
  }
  program = moved;
  if (!wasInstalled) return true;
  RemoveEditorFiles(installFolder_, true);
  // rmdir takes only an empty folder, so no file can be lost. One that another program still
  // stands in is tried again by the batch file once this program has ended; where the
  // uninstaller's own file stays for its copy, the copy removes them.
  for (const String& folder : plan_.folders)
    if (s_.files.RemoveFolder(folder) && s_.files.FolderExists(folder) && !moveFailed)
      standingFolders_.push_back(ConsoleName(folder));
  return true;
}

// The uninstaller's file is small enough to be copied in one piece.
FileError Removal::CopyNewFile(const String& from, const String& to) {
  String bytes;
  FileError error = s_.files.ReadFile(from, bytes);
  if (!error) error = s_.files.WriteNewFile(to, bytes);
  return error;
}

// How many of the recorded folders are the install folder and, one by one, those right above
// it: only these are left for the copy to remove.
std::size_t Removal::RecordedLevels() const {
  std::size_t levels = 0;
  for (String folder = installFolder_;
       levels < plan_.folders.size() && SameFileName(plan_.folders[levels], folder); folder = FolderOfPath(folder))
    ++levels;
  return levels;
}

}  // namespace

UninstallEnd RunUninstall(const UninstallServices& services, const UninstallPlace& place) {
  return Removal(services, place).Run();
}

void RemoveEmptyBatchFolders(FileSystem& files, const String& temporaryFolder) {
  std::vector<String> names;
  files.ListFolders(temporaryFolder, names);
  const String parent = WithTrailingBackslash(temporaryFolder);
  for (const String& name : names)
    if (name.starts_with(kBatchFolderPrefix)) files.RemoveFolder(parent + name);
}

void RemoveEmptyFolders(FileSystem& files, const String& folder, std::string_view stopFolder) {
  for (String path = folder; IsInsideFolder(path, stopFolder); path = FolderOfPath(path))
    if (files.RemoveFolder(path)) return;
}

int BarFill(std::size_t index, std::size_t count, int width) {
  if (count <= 1 || index + 1 >= count) return width;
  // Past 16 bits both halve together, so the product stays within 32 bits and needs no 64-bit
  // division (a library routine on 32-bit): a pixel off at most, for logs of over 65,536 entries.
  std::size_t last = count - 1;
  for (; last > 0xFFFF; last >>= 1) index >>= 1;
  return static_cast<int>(static_cast<std::uint32_t>(index) * static_cast<std::uint32_t>(width) / last);
}

}  // namespace pelorin
