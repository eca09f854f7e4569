#include "RemovalPlan.h"

#include <algorithm>

#include "FileSystem.h"
#include "InstallRecord.h"
#include "TextLines.h"

namespace pelorin {

namespace {

bool EndsWithExe(std::string_view name) {
  constexpr std::string_view kExtension = ".exe";
  if (name.size() <= kExtension.size()) return false;
  for (std::size_t i = 0; i < kExtension.size(); ++i) {
    const char c = name[name.size() - kExtension.size() + i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kExtension[i]) return false;
  }
  return true;
}

std::string WithoutTrailingBackslash(std::string folder) {
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

bool SameFile(const std::string& a, const std::string& b) {
  return IsInsideFolder(a + "\\x", b) && IsInsideFolder(b + "\\x", a);
}

// The folders of the record that are the install folder or lie above it, deepest first:
// setup made those, and no other folder is ever removed; one that was there before, the
// install folder included, is the user's.
std::vector<std::string> RecordedFolders(std::string_view record, const std::string& installFolder) {
  std::vector<std::string> parents;
  for (const std::string& line : SplitLines(record)) {
    const std::string folder = WithoutTrailingBackslash(line);
    // Only a folder on a drive, never the drive itself: "C:" alone would be its current folder.
    const bool onDrive = folder.size() > 3 && folder[1] == ':' && folder[2] == '\\';
    if (IsDamagedLine(folder) || !((!folder.empty() && SameFile(installFolder, folder)) || (onDrive && IsInsideFolder(installFolder, folder))))
      continue;
    if (std::none_of(parents.begin(), parents.end(), [&](const std::string& p) { return SameFile(p, folder); }))
      parents.push_back(folder);
  }
  std::sort(parents.begin(), parents.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  return parents;
}

}  // namespace

RemovalPlan PlanRemoval(std::string_view logText, std::string_view createdFolders, const RemovalPlaces& places) {
  RemovalPlan plan;
  const InstallLog log = ReadInstallLog(logText);
  if (log.lineCount < 3) {
    plan.stop = PlanStop::kNoHeader;
    return plan;
  }
  plan.header = {log.appName, log.appVersion, log.mainExe};
  if (log.appName.empty() || IsDamagedLine(log.appName)) {
    plan.stop = PlanStop::kNoName;
    return plan;
  }
  plan.appName = log.appName;
  plan.appVersion = IsDamagedLine(log.appVersion) ? "" : log.appVersion;

  const std::string installFolder = WithoutTrailingBackslash(places.installFolder);
  if (IsPlainRelativeName(log.mainExe) && EndsWithExe(log.mainExe)) {
    const std::string program = installFolder + "\\" + log.mainExe;
    if (!SameFile(program, places.uninstallerPath)) plan.mainProgram = program;
  }

  // The uninstaller's own file and the records the removal reads go last, by name.
  const std::string logPath = installFolder + "\\" + kInstallLogName;
  const std::string recordPath = installFolder + "\\" + kCreatedFoldersName;
  for (const std::string& entry : log.entries) {
    if (IsDamagedLine(entry)) {
      ++plan.damagedLines;
      continue;
    }
    LogEntry target = ClassifyEntry(entry, places);
    if (target.kind == EntryKind::kSkipped || SameFile(target.path, places.uninstallerPath) ||
        SameFile(target.path, logPath) || SameFile(target.path, recordPath))
      continue;
    plan.deletions.push_back({target.kind, std::move(target.path), entry, std::move(target.stopFolder)});
  }

  plan.folders = RecordedFolders(createdFolders, installFolder);
  return plan;
}

}  // namespace pelorin
