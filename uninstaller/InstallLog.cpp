#include "InstallLog.h"

#include "FileSystem.h"
#include "InstallRecord.h"
#include "TextLines.h"

namespace pelorin {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// File names on Windows compare without regard to letter case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string_view WithoutTrailingBackslashes(std::string_view folder) {
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  return folder;
}

// A file name with no folder part of its own, placed directly in `folder`.
bool IsDirectlyIn(const std::string& path, std::string_view folder) {
  folder = WithoutTrailingBackslashes(folder);
  const std::size_t slash = path.rfind('\\');
  if (folder.empty() || slash == std::string::npos) return false;
  return SameName(std::string_view(path).substr(0, slash), folder) &&
         IsSafeRelativeName(std::string_view(path).substr(slash + 1)) &&
         path.find('/', slash) == std::string::npos;
}

bool IsShortcutFile(const std::string& path) {
  constexpr std::string_view kExtension = ".lnk";
  const std::size_t slash = path.rfind('\\');
  return slash != std::string::npos && path.size() > slash + 1 + kExtension.size() &&
         SameName(std::string_view(path).substr(path.size() - kExtension.size()), kExtension);
}

}  // namespace

InstallLog ReadInstallLog(std::string_view text) {
  std::vector<std::string> lines = SplitLines(text);
  InstallLog log;
  std::string* header[] = {&log.appName, &log.appVersion, &log.mainExe};
  std::size_t line = 0;
  for (; line < lines.size() && line < std::size(header); ++line) *header[line] = std::move(lines[line]);
  for (; line < lines.size(); ++line) log.entries.push_back(std::move(lines[line]));
  return log;
}

LogEntry ClassifyEntry(const std::string& entry, const std::string& installFolder,
                       const std::string& systemFolder) {
  if (entry.empty()) return {};
  const std::string rest = entry.substr(1);
  if (entry[0] == kSystemFileMarker)
    return IsDirectlyIn(rest, systemFolder) ? LogEntry{EntryKind::kSystemFile, rest} : LogEntry{};
  if (entry[0] == kShortcutMarker)
    return IsShortcutFile(rest) ? LogEntry{EntryKind::kShortcut, rest} : LogEntry{};
  if (!IsSafeRelativeName(entry)) return {};
  return {EntryKind::kInstalledFile, WithTrailingBackslash(installFolder) + entry};
}

}  // namespace pelorin
