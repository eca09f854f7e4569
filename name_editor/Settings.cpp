#include "Settings.h"

#include "TextLines.h"

namespace pelorin {

namespace {

constexpr std::size_t kFirstHistoryLine = 2;  // 0-based
constexpr std::size_t kHistoryLines = 4;

}  // namespace

EditorSettings ParseSettings(std::string_view text) {
  const std::vector<std::string> lines = SplitLines(text);
  EditorSettings settings;
  if (lines.size() > 0) settings.gameFolder = lines[0];
  if (settings.gameFolder.empty()) return settings;  // first run: nothing else is read
  if (lines.size() > 1) settings.lastSavedName = lines[1];
  for (std::size_t i = kFirstHistoryLine; i < lines.size() && i < kFirstHistoryLine + kHistoryLines; ++i)
    if (!lines[i].empty()) settings.history.push_back(lines[i]);
  return settings;
}

std::string FormatSettings(const EditorSettings& settings) {
  std::vector<std::string> lines{settings.gameFolder, settings.lastSavedName};
  lines.insert(lines.end(), settings.history.begin(), settings.history.end());
  return JoinLines(lines);
}

std::string SettingsPath(const std::string& programFolder) {
  return WithTrailingBackslash(programFolder) + kSettingsFileName;
}

EditorSettings LoadSettings(FileSystem& files, const std::string& path) {
  std::string text;
  if (files.ReadFile(path, text)) return {};
  return ParseSettings(text);
}

FileError StoreSettings(FileSystem& files, const std::string& path, const EditorSettings& settings) {
  return ReplaceFileContents(files, path, FormatSettings(settings));
}

}  // namespace pelorin
