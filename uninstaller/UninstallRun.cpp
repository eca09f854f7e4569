#include "UninstallRun.h"

#include "InstallLog.h"
#include "InstallRecord.h"

namespace pelorin {

namespace {

std::string InstallFolderOf(const UninstallPlace& place) {
  return WithTrailingBackslash(FolderOfPath(place.self.programPath));
}

// Tells the installed program that it is being removed, so that it drops its own settings.
void LetProgramUndoItself(const UninstallServices& services, const std::string& installFolder,
                          const std::string& mainExe) {
  if (mainExe.empty() || !IsSafeRelativeName(mainExe)) return;
  services.processes.RunAndWait(QuotedPath(installFolder + mainExe) + " uninstall", kProgramWaitMs);
}

void RemoveEntry(const UninstallServices& services, const InstallLog& log, const std::string& entry,
                 const std::string& installFolder, const std::string& systemFolder) {
  const LogEntry target = ClassifyEntry(entry, installFolder, systemFolder);
  switch (target.kind) {
    case EntryKind::kSystemFile:
      if (services.ui.Ask(target.path + " was installed by " + log.appName +
                              " but could possibly be used by other programs.  Are you sure you "
                              "want to Uninstall it?",
                          kSystemFileCaption))
        services.files.RemoveFile(target.path);
      break;
    case EntryKind::kShortcut:
      services.files.RemoveFile(target.path);
      RemoveEmptyFolders(services.files, FolderOfPath(target.path));
      break;
    case EntryKind::kInstalledFile:
      services.files.RemoveFile(target.path);
      // So go the folders below the install folder that it leaves empty; the install folder
      // itself still holds the uninstaller.
      RemoveEmptyFolders(services.files, FolderOfPath(target.path));
      break;
    case EntryKind::kSkipped:
      break;
  }
}

}  // namespace

UninstallEnd RunUninstall(const UninstallServices& services, const UninstallPlace& place) {
  const std::string installFolder = InstallFolderOf(place);
  const std::string logPath = installFolder + kInstallLogName;
  if (!services.files.FileExists(logPath)) {
    services.ui.Tell(kLogMissingMessage);
    return UninstallEnd::kLogMissing;
  }
  services.ui.Show();
  services.ui.ShowStatus("Preparing to Uninstall...");

  std::string text;
  services.files.ReadFile(logPath, text);
  const InstallLog log = ReadInstallLog(text);
  if (!services.ui.Ask("Are you sure you want to Uninstall " + log.appName + " v" + log.appVersion + "?",
                       kConfirmCaption))
    return UninstallEnd::kDeclined;

  // An empty title would match some unrelated untitled window.
  if (!log.appName.empty()) services.windows.Close(log.appName);
  LetProgramUndoItself(services, installFolder, log.mainExe);

  const std::size_t count = log.entries.size();
  for (std::size_t i = 0; i < count; ++i) {
    RemoveEntry(services, log, log.entries[i], installFolder, place.systemFolder);
    services.ui.ShowProgress(i, count);
  }

  const bool batchReady = PrepareSelfRemoval(services.files, place.self);
  services.files.RemoveFile(logPath);
  // Without a name the path would be the system's whole list of removable programs.
  if (!log.appName.empty())
    services.registry.DeleteKey(RegistryRoot::kLocalMachine, UninstallKeyPath(log.appName));
  if (batchReady)
    services.processes.Start(QuotedPath(place.self.setupTemp + kBatchFileName), WindowShow::kHidden);
  return UninstallEnd::kRemoved;
}

void RemoveEmptyFolders(FileSystem& files, const std::string& folder) {
  for (std::string path = folder; path.find('\\') != std::string::npos; path = FolderOfPath(path))
    files.RemoveFolder(path);
}

int BarFill(std::size_t index, std::size_t count, int width) {
  if (count <= 1 || index + 1 >= count) return width;
  return static_cast<int>(static_cast<unsigned long long>(index) * static_cast<unsigned>(width) /
                          (count - 1));
}

}  // namespace pelorin
