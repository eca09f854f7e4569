#include "InstallLog.h"

#include "Concat.h"
#include "FileSystem.h"
#include "InstallRecord.h"
#include "ItemNames.h"
#include "TextLines.h"

namespace pelorin {

namespace {

std::string_view WithoutTrailingBackslashes(std::string_view folder) {
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  return folder;
}

// The part of `path` below `folder`, or empty when it does not lie below it.
std::string_view BelowFolder(std::string_view path, std::string_view folder) {
  folder = WithoutTrailingBackslashes(folder);
  if (folder.empty() || path.size() <= folder.size() + 1 || path[folder.size()] != '\\' ||
      !SameFileName(path.substr(0, folder.size()), folder))
    return {};
  return path.substr(folder.size() + 1);
}

bool EndsWithShortcutExtension(std::string_view name) {
  constexpr std::string_view kExtension = ".lnk";
  const std::size_t slash = name.rfind('\\');
  const std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
  return file.size() > kExtension.size() && SameFileName(file.substr(file.size() - kExtension.size()), kExtension);
}

}  // namespace

bool IsDamagedLine(std::string_view line) {
  for (char c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

bool IsInsideFolder(std::string_view path, std::string_view folder) { return !BelowFolder(path, folder).empty(); }

bool IsSamePath(std::string_view a, std::string_view b) {
  a = WithoutTrailingBackslashes(a);
  return !a.empty() && SameFileName(a, WithoutTrailingBackslashes(b));
}

bool IsPlainRelativeName(std::string_view name) {
  if (!IsSafeRelativeName(name) || IsDamagedLine(name) || name.find_first_of("/:*?\"<>|") != std::string_view::npos)
    return false;
  for (std::size_t end = name.find('\\');; end = name.find('\\', end + 1)) {
    const char last = end == std::string_view::npos ? name.back() : name[end - 1];
    if (last == '.' || last == ' ') return false;
    if (end == std::string_view::npos) return true;
  }
}

LogEntry ClassifyEntry(std::string_view entry, const RemovalPlaces& places) {
  if (entry.empty() || IsDamagedLine(entry)) return {};
  const std::string_view rest = entry.substr(1);
  if (entry[0] == kSystemFileMarker) {
    const std::string_view name = BelowFolder(rest, places.systemFolder);
    if (name.find('\\') != std::string_view::npos || !IsPlainRelativeName(name)) return {};
    return {EntryKind::kSystemFile, String(rest), {}};
  }
  if (entry[0] == kShortcutMarker) {
    for (const String& programs : places.programsFolders) {
      const std::string_view name = BelowFolder(rest, programs);
      if (IsPlainRelativeName(name) && EndsWithShortcutExtension(name))
        return {EntryKind::kShortcut, String(rest), WithoutTrailingBackslashes(programs)};
    }
    return {};
  }
  const std::string_view installFolder = WithoutTrailingBackslashes(places.installFolder);
  if (!IsPlainRelativeName(entry) || installFolder.empty()) return {};
  return {EntryKind::kInstalledFile, Concat({installFolder, "\\", entry}), installFolder};
}

}  // namespace pelorin
