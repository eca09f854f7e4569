#include "UninstallRun.h"

#include "DecimalText.h"
#include "FolderRights.h"
#include "InstallRecord.h"
#include "ItemNames.h"
#include "RemovalPlan.h"
#include "TextFile.h"
#include "TextLines.h"

namespace pelorin {

namespace {

// The editor's own key below HKEY_LOCAL_MACHINE's SOFTWARE, one per product of its maker.
constexpr char kMakerKey[] = "Brackwater";
// Folders tried for the batch file when one turns out to hold a file someone else put there.
constexpr int kBatchFolderAttempts = 3;
constexpr char kVirtualMachineKey[] = "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\";

std::string ErrorText(const FileError& error) {
  return error.message.empty() ? "system error " + WholeNumberText(static_cast<std::uint32_t>(error.systemCode))
                               : error.message;
}

// The editor's files in `folder`: those it keeps, and the temporary files of saves that were
// cut short, whose names end in a number nobody can foresee.
std::vector<std::string> EditorFilesIn(FileSystem& files, const std::string& folder) {
  std::vector<std::string> paths;
  for (const char* name : kEditorFiles) paths.push_back(folder + "\\" + name);
  std::vector<std::string> names;
  if (!files.ListFiles(folder, std::string(kEditorFiles[0]) + ".*.tmp", names))
    for (const std::string& name : names)
      if (IsTemporaryNameOf(name, kEditorFiles[0])) paths.push_back(folder + "\\" + name);
  return paths;
}

bool IsGone(const FileError& error) {
  return error.kind == FileError::Kind::kFileNotFound || error.kind == FileError::Kind::kPathNotFound;
}

class Removal {
 public:
  Removal(const UninstallServices& services, const UninstallPlace& place)
      : s_(services), place_(place), installFolder_(FolderOfPath(place.programPath)),
        logPath_(installFolder_ + "\\" + kInstallLogName),
        recordPath_(installFolder_ + "\\" + kCreatedFoldersName) {}

  UninstallEnd Run();

 private:
  bool ReadPlan();
  bool CloseEditor();
  void LetProgramUndoItself();
  void RemoveEntry(const PlannedDeletion& deletion);
  void Delete(const PlannedDeletion& deletion);
  bool PassesThroughLink(const PlannedDeletion& deletion);
  bool LinkOnTheWay(const std::string& folder, const std::string& stopFolder);
  void RemoveVirtualCopies();
  UninstallEnd KeepWhatRemains();
  bool StartSelfRemoval();
  bool HandOver(const std::string& batchFolder, std::string& program);
  FileError CopyNewFile(const std::string& from, const std::string& to);
  std::size_t RecordedLevels() const;
  std::string ConsoleName(const std::string& path) const {
    return place_.consoleName != nullptr ? place_.consoleName(path) : path;
  }

  const UninstallServices& s_;
  const UninstallPlace& place_;
  const std::string installFolder_;
  const std::string logPath_;
  const std::string recordPath_;
  RemovalPlan plan_;
  bool registrationIsOurs_ = true;
  std::vector<std::string> failures_;  // one line per file that stays, and why
  std::vector<std::string> remaining_;  // the log lines of those files
  std::vector<std::string> standingFolders_;  // recorded folders another program still stood in
};

UninstallEnd Removal::Run() {
  if (!ReadPlan()) return UninstallEnd::kLogMissing;
  s_.ui.Show();
  s_.ui.ShowStatus("Preparing to Uninstall...");
  if (!s_.ui.Ask("Are you sure you want to Uninstall " + plan_.appName + " v" + plan_.appVersion + "?",
                 kConfirmCaption))
    return UninstallEnd::kDeclined;
  if (!CloseEditor()) return UninstallEnd::kEditorRunning;
  LetProgramUndoItself();

  // A registration that names another folder belongs to another install of the same name:
  // it stays, and with it its shortcuts and shared files.
  std::string location;
  if (s_.registry.ReadKeyValue(RegistryRoot::kLocalMachine, UninstallKeyPath(plan_.appName), "InstallLocation",
                               location) &&
      !location.empty() &&
      !(IsInsideFolder(location + "\\x", installFolder_) && IsInsideFolder(installFolder_ + "\\x", location)))
    registrationIsOurs_ = false;

  const std::size_t count = plan_.deletions.size();
  for (std::size_t i = 0; i < count; ++i) {
    RemoveEntry(plan_.deletions[i]);
    s_.ui.ShowProgress(i, count);
  }
  RemoveVirtualCopies();
  if (!failures_.empty()) return KeepWhatRemains();

  if (StartSelfRemoval()) return UninstallEnd::kRemoved;
  s_.ui.Tell("Everything else is removed, but " + place_.programPath + " could not set up its own removal.");
  return UninstallEnd::kIncomplete;
}

bool Removal::ReadPlan() {
  std::string text;
  if (const FileError error = ReadTextFile(s_.files, logPath_, text)) {
    s_.ui.Tell(IsGone(error) ? std::string(kLogMissingMessage)
                             : "The install log " + logPath_ + " could not be read: " + ErrorText(error) +
                                   "\r\n\r\nNothing has been removed.");
    return false;
  }
  std::string record;
  ReadTextFile(s_.files, recordPath_, record);
  plan_ = PlanRemoval(text, record, {installFolder_, place_.programPath, place_.systemFolder, place_.programsFolders});
  if (plan_.stop == PlanStop::kNone) return true;
  s_.ui.Tell("The install log " + logPath_ +
             (plan_.stop == PlanStop::kNoHeader ? " lacks its three header lines." : " names no program.") +
             "\r\n\r\nNothing has been removed.");
  return false;
}

// Asks the editor to close and waits for its process to end; false when the user, or a
// quiet run, gives up while it still runs.
bool Removal::CloseEditor() {
  if (plan_.mainProgram.empty() || !s_.files.FileExists(plan_.mainProgram)) return true;
  const ProgramWindow editor{kEditorWindowClass, plan_.appName, plan_.mainProgram};
  while (!s_.windows.CloseProgram(editor, kEditorCloseWaitMs)) {
    if (!s_.ui.AskRetry(plan_.appName + " (" + plan_.mainProgram +
                        ") is still running. Close it, then choose Retry; Cancel stops the removal, "
                        "and nothing is removed."))
      return false;
  }
  return true;
}

// Tells the installed program that it is being removed, so that it drops its own settings;
// when it cannot, its key is removed here.
void Removal::LetProgramUndoItself() {
  // Started with this run's administrator rights, so only from where nobody else can change it.
  if (!plan_.mainProgram.empty() && MayStartElevated(s_.files, plan_.mainProgram) &&
      s_.processes.RunAndWait(QuotedPath(plan_.mainProgram) + " uninstall", kProgramWaitMs))
    return;
  const std::string maker = std::string("SOFTWARE\\") + kMakerKey;
  s_.registry.DeleteKey(RegistryRoot::kLocalMachine, maker + "\\" + UninstallKeyName(plan_.appName));
  s_.registry.DeleteEmptyKey(RegistryRoot::kLocalMachine, maker);
}

void Removal::RemoveEntry(const PlannedDeletion& deletion) {
  switch (deletion.kind) {
    case EntryKind::kSystemFile:
      if (!registrationIsOurs_ ||
          !s_.ui.Ask(deletion.path + " was installed by " + plan_.appName +
                         " but could possibly be used by other programs.  Are you sure you want to Uninstall it?",
                     kSystemFileCaption))
        return;
      // Setup registered it, so it is unregistered before it goes.
      s_.processes.RunAndWait(QuotedPath(place_.systemFolder + "\\regsvr32.exe") + " /u /s " +
                                  QuotedPath(deletion.path),
                              kUnregisterWaitMs);
      Delete(deletion);
      return;
    case EntryKind::kShortcut:
      if (!registrationIsOurs_) return;
      [[fallthrough]];
    case EntryKind::kInstalledFile:
      if (PassesThroughLink(deletion)) {
        failures_.push_back(deletion.path + ": a folder on its way is a link; not followed");
        remaining_.push_back(deletion.entry);
        return;
      }
      Delete(deletion);
      RemoveEmptyFolders(s_.files, FolderOfPath(deletion.path), deletion.stopFolder);
      return;
    case EntryKind::kSkipped:
      return;
  }
}

void Removal::Delete(const PlannedDeletion& deletion) {
  FileError error = s_.files.RemoveFile(deletion.path);
  if (error && !IsGone(error) && !s_.files.MakeWritable(deletion.path)) error = s_.files.RemoveFile(deletion.path);
  if (!error || IsGone(error)) return;
  failures_.push_back(deletion.path + ": " + ErrorText(error));
  remaining_.push_back(deletion.entry);
}

// A link or junction placed in a folder below the stop folder would lead the deletion
// somewhere else.
bool Removal::PassesThroughLink(const PlannedDeletion& deletion) {
  return LinkOnTheWay(FolderOfPath(deletion.path), deletion.stopFolder);
}

// Whether `folder`, or a folder between it and `stopFolder`, is a link or junction.
bool Removal::LinkOnTheWay(const std::string& folder, const std::string& stopFolder) {
  for (std::string step = folder; IsInsideFolder(step, stopFolder); step = FolderOfPath(step))
    if (s_.files.IsReparsePoint(step)) return true;
  return false;
}

// The copies the system made of the editor's writes into protected places, so that a new
// install starts clean.
void Removal::RemoveVirtualCopies() {
  if (!place_.virtualStore.empty() && installFolder_.size() > 2 && installFolder_[1] == ':') {
    const std::string folder = WithTrailingBackslash(place_.virtualStore) + installFolder_.substr(3);
    // A link on the way, which the user may have made, would lead the deletion elsewhere.
    if (!LinkOnTheWay(folder, place_.virtualStore)) {
      for (const std::string& path : EditorFilesIn(s_.files, folder)) s_.files.RemoveFile(path);
      RemoveEmptyFolders(s_.files, folder, place_.virtualStore);
    }
  }
  for (const char* view : {"", "WOW6432Node\\"}) {
    const std::string maker = kVirtualMachineKey + std::string(view) + kMakerKey;
    s_.registry.DeleteKey(RegistryRoot::kCurrentUser, maker + "\\" + UninstallKeyName(plan_.appName));
    s_.registry.DeleteEmptyKey(RegistryRoot::kCurrentUser, maker);
  }
}

// Some files stay: the log keeps naming them and the registration stays, so that running
// the uninstaller again finishes the removal.
UninstallEnd Removal::KeepWhatRemains() {
  std::vector<std::string> lines = plan_.header;
  lines.insert(lines.end(), remaining_.begin(), remaining_.end());
  const FileError logError = ReplaceTextFile(s_.files, logPath_, JoinLines(lines));
  std::string report = "These files could not be removed:\r\n";
  for (const std::string& failure : failures_) report += "\r\n" + failure;
  report += logError ? "\r\n\r\nThe install log could not be updated: " + ErrorText(logError)
                     : "\r\n\r\nRun Uninstall again once they are free to finish the removal.";
  s_.ui.Tell(report);
  return UninstallEnd::kIncomplete;
}

// The uninstaller's own file cannot be deleted while it runs, but it can be moved, or else
// copied, into the run's own folder (HandOver); once this program has ended, the batch file
// there deletes what is in that folder, and tries the recorded folders that another program
// still stood in again.
bool Removal::StartSelfRemoval() {
  RemoveEmptyBatchFolders(s_.files, place_.temporaryFolder);
  std::string batchFolder;
  const bool ready =
      !CreatePrivateFolder(s_.files, place_.temporaryFolder, kBatchFolderPrefix, place_.folderSource, batchFolder);
  s_.files.RemoveFile(logPath_);
  s_.files.RemoveFile(recordPath_);
  if (registrationIsOurs_) s_.registry.DeleteKey(RegistryRoot::kLocalMachine, UninstallKeyPath(plan_.appName));
  if (!ready) return false;

  // A batch file that cannot be created new had something in its place before it: that
  // folder is not this run's alone, so its file is never started and another folder is made.
  std::string program = place_.programPath;  // where the uninstaller's file is now
  for (int attempt = 0; attempt < kBatchFolderAttempts; ++attempt) {
    if (attempt > 0 &&
        CreatePrivateFolder(s_.files, place_.temporaryFolder, kBatchFolderPrefix, place_.folderSource, batchFolder))
      return false;
    if (!HandOver(batchFolder, program)) return false;
    const std::string batchFile = batchFolder + "\\" + kBatchFileName;
    const SelfRemovalPaths paths{ConsoleName(program), ConsoleName(batchFolder), ConsoleName(place_.systemFolder),
                                 standingFolders_};
    if (!s_.files.WriteNewFile(batchFile, SelfRemovalBatch(paths)))
      return s_.processes.Start(SelfRemovalCommand(place_.systemFolder, batchFile), WindowShow::kHidden);
  }
  return false;
}

// Brings the uninstaller's file from `program` into `batchFolder`. Where the installed file
// cannot be moved (another drive), a copy of it is made there and started to delete the
// installed file, by its identity, once this program has ended, with the install folder and
// the folders above it that setup made where they are empty then. The editor's files and the
// folders go here and now.
bool Removal::HandOver(const std::string& batchFolder, std::string& program) {
  const std::string moved = batchFolder + "\\" + kUninstallerCopyName;
  const bool wasInstalled = program == place_.programPath;
  const bool moveFailed = static_cast<bool>(s_.files.MoveFileOver(program, moved));
  if (moveFailed && !wasInstalled) return false;
  if (moveFailed && (place_.startCopy == nullptr || CopyNewFile(program, moved) ||
                     !place_.startCopy(moved, installFolder_, RecordedLevels()))) {
    s_.files.RemoveFile(moved);
    return false;
  }
  program = moved;
  if (!wasInstalled) return true;
  for (const std::string& path : EditorFilesIn(s_.files, installFolder_))
    if (s_.files.RemoveFile(path) && !s_.files.MakeWritable(path)) s_.files.RemoveFile(path);
  // rmdir takes only an empty folder, so no file can be lost. One that another program still
  // stands in is tried again by the batch file once this program has ended; where the
  // uninstaller's own file stays for its copy, the copy removes them.
  for (const std::string& folder : plan_.folders)
    if (s_.files.RemoveFolder(folder) && s_.files.FolderExists(folder) && !moveFailed)
      standingFolders_.push_back(ConsoleName(folder));
  return true;
}

FileError Removal::CopyNewFile(const std::string& from, const std::string& to) {
  std::unique_ptr<FileReader> reader;
  std::unique_ptr<FileWriter> writer;
  FileError error = s_.files.OpenForReading(from, reader);
  if (!error) error = s_.files.OpenForWriting(to, false, writer);
  if (!error) error = CopyFileBytes(*reader, *writer, reader->Size());
  if (!error) error = writer->Close();
  return error;
}

// How many of the recorded folders are the install folder and, one by one, those right above
// it: only these are left for the copy to remove.
std::size_t Removal::RecordedLevels() const {
  std::size_t levels = 0;
  for (std::string folder = installFolder_;
       levels < plan_.folders.size() && SameFileName(plan_.folders[levels], folder); folder = FolderOfPath(folder))
    ++levels;
  return levels;
}

}  // namespace

UninstallEnd RunUninstall(const UninstallServices& services, const UninstallPlace& place) {
  return Removal(services, place).Run();
}

void RemoveEmptyBatchFolders(FileSystem& files, const std::string& temporaryFolder) {
  std::vector<std::string> names;
  files.ListFolders(temporaryFolder, names);
  for (const std::string& name : names)
    if (name.starts_with(kBatchFolderPrefix)) files.RemoveFolder(WithTrailingBackslash(temporaryFolder) + name);
}

void RemoveEmptyFolders(FileSystem& files, const std::string& folder, const std::string& stopFolder) {
  for (std::string path = folder; IsInsideFolder(path, stopFolder); path = FolderOfPath(path))
    if (files.RemoveFolder(path)) return;
}

int BarFill(std::size_t index, std::size_t count, int width) {
  if (count <= 1 || index + 1 >= count) return width;
  return static_cast<int>(static_cast<unsigned long long>(index) * static_cast<unsigned>(width) /
                          (count - 1));
}

}  // namespace pelorin
