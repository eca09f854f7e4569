#include "RemovalPlan.h"

#include "Concat.h"
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

std::string_view WithoutTrailingBackslash(std::string_view folder) {
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  return folder;
}

// Adds the folders of the record that are the install folder or lie above it, deepest first:
// setup made those, and no other folder is ever removed; one that was there before, the
// install folder included, is the user's.
void AddRecordedFolders(std::string_view record, std::string_view installFolder, std::vector<String>& parents) {
  for (const String& line : SplitLines(record)) {
    const std::string_view folder = WithoutTrailingBackslash(line);
    // Only a folder on a drive, never the drive itself: "C:" alone would be its current folder.
    const bool onDrive = folder.size() > 3 && folder[1] == ':' && folder[2] == '\\';
    if (IsDamagedLine(folder) || !(IsSamePath(installFolder, folder) || (onDrive && IsInsideFolder(installFolder, folder))))
      continue;
    bool known = false;
    for (const String& parent : parents) known = known || IsSamePath(parent, folder);
    if (known) continue;
    parents.emplace_back(folder);
    // They all lie on the install folder's path, so the longer one is the deeper.
    for (std::size_t i = parents.size() - 1; i > 0 && parents[i - 1].size() < parents[i].size(); --i)
      parents[i].swap(parents[i - 1]);
  }
}

}  // namespace

RemovalPlan PlanRemoval(std::string_view logText, std::string_view createdFolders, const RemovalPlaces& places) {
  RemovalPlan plan;
  std::vector<String> lines = SplitLines(logText);
  if (lines.size() < 3) {
    plan.stop = PlanStop::kNoHeader;
    return plan;
  }
  const String& mainExe = lines[2];
  plan.header = Concat({lines[0], "\r\n", lines[1], "\r\n", mainExe, "\r\n"});
  if (lines[0].empty() || IsDamagedLine(lines[0])) {
    plan.stop = PlanStop::kNoName;
    return plan;
  }
  plan.appName = std::move(lines[0]);
  if (!IsDamagedLine(lines[1])) plan.appVersion = std::move(lines[1]);

  const std::string_view installFolder = WithoutTrailingBackslash(places.installFolder);
  if (IsPlainRelativeName(mainExe) && EndsWithExe(mainExe)) {
    String program = Concat({installFolder, "\\", mainExe});
    if (!IsSamePath(program, places.uninstallerPath)) plan.mainProgram = std::move(program);
  }

  // The uninstaller's own file and the records the removal reads go last, by name.
  const String logPath = Concat({installFolder, "\\", kInstallLogName});
  const String recordPath = Concat({installFolder, "\\", kCreatedFoldersName});
  for (std::size_t line = 3; line < lines.size(); ++line) {
    String& entry = lines[line];
    if (IsDamagedLine(entry)) {
      ++plan.damagedLines;
      continue;
    }
    LogEntry target = ClassifyEntry(entry, places);
    if (target.kind == EntryKind::kSkipped || IsSamePath(target.path, places.uninstallerPath) ||
        IsSamePath(target.path, logPath) || IsSamePath(target.path, recordPath))
      continue;
    plan.deletions.push_back({target.kind, std::move(target.path), std::move(entry), target.stopFolder});
  }

  AddRecordedFolders(createdFolders, installFolder, plan.folders);
  return plan;
}

}  // namespace pelorin
