#include "Settings.h"

#include "Concat.h"
#include "InstallRecord.h"
#include "TextFile.h"
#include "TextLines.h"

namespace pelorin {

namespace {

constexpr std::size_t kFirstHistoryLine = 2;  // 0-based
constexpr std::size_t kHistoryLines = 4;

// `name` in `folder`, with one backslash between them.
String InFolder(std::string_view folder, std::string_view name) {
  return Concat({folder, folder.ends_with('\\') ? "" : "\\", name});
}

}  // namespace

EditorSettings ParseSettings(const AnsiCodePage& codePage, std::string_view bytes) {
  const bool utf8 = bytes.starts_with(kUtf8Mark);
  if (utf8) bytes.remove_prefix(kUtf8Mark.size());
  std::vector<String> lines = SplitLines(bytes);
  // Each line on its own: a name is the game's bytes, a folder the system's text.
  const auto name = [&](std::size_t i) {
    String text;
    if (i >= lines.size()) return text;
    if (!utf8) return std::move(lines[i]);
    codePage.FromUtf8(lines[i], text);
    return text;
  };
  EditorSettings settings;
  if (lines.empty() || !DecodeTextFile(codePage, utf8 ? Concat({kUtf8Mark, lines[0]}) : lines[0], settings.gameFolder))
    settings.gameFolder.clear();
  if (settings.gameFolder.empty()) return settings;  // first run: nothing else is read
  settings.lastSavedName = name(1);
  for (std::size_t i = kFirstHistoryLine; i < lines.size() && i < kFirstHistoryLine + kHistoryLines; ++i)
    if (String text = name(i); !text.empty()) settings.history.push_back(std::move(text));
  return settings;
}

String FormatSettings(const AnsiCodePage& codePage, const EditorSettings& settings) {
  String text, line;
  const auto add = [&text](std::string_view oneLine) { text.append(oneLine).append("\r\n"); };
  if (codePage.FromUtf8(settings.gameFolder, line) && !line.starts_with(kUtf8Mark)) {
    add(line);
    add(settings.lastSavedName);
    for (const String& name : settings.history) add(name);
    return text;
  }
  // A name with bytes the code page does not define has no UTF-8 form: it is left out, and
  // the last saved name's line stays, empty.
  text = kUtf8Mark;
  add(settings.gameFolder);
  line.clear();
  codePage.ToUtf8(settings.lastSavedName, line);
  add(line);
  for (const String& name : settings.history)
    if (line.clear(); codePage.ToUtf8(name, line)) add(line);
  return text;
}

String SettingsPath(const String& programFolder) {
  return InFolder(programFolder, kSettingsFileName);
}

String VirtualStoreCopy(const String& virtualStore, const String& path) {
  if (virtualStore.empty() || path.size() < 4 || path[1] != ':' || path[2] != '\\') return {};
  return InFolder(virtualStore, std::string_view(path).substr(3));
}

String UserSettingsFolder(const String& appData) {
  return InFolder(appData, kEditorSettingsFolder);
}

SettingsFiles ChooseSettingsFiles(FileSystem& files, const String& programFolder, const String& appData,
                                  const String& virtualStore) {
  const String beside = SettingsPath(programFolder);
  // A file of a name nobody can foresee, made and removed again, tells whether the folder
  // takes the user's files; the settings file itself may be read-only or missing.
  const String probe = TemporaryNameOf(beside, files.RandomNumber());
  const bool writable = !files.WriteNewFile(probe, "");
  if (writable) files.RemoveFile(probe);
  if (writable || appData.empty()) return {beside, {}};
  SettingsFiles chosen{SettingsPath(UserSettingsFolder(appData)), {}};
  if (files.FileExists(chosen.path)) return chosen;
  // The system's copy keeps the folder's path without its drive: VirtualStore\Program Files\...
  const String virtualCopy =
      virtualStore.empty() || programFolder.size() < 3 || programFolder[1] != ':'
          ? String()
          : InFolder(virtualStore, SettingsPath(programFolder.substr(3)));
  chosen.startFrom = !virtualCopy.empty() && files.FileExists(virtualCopy) ? virtualCopy : beside;
  return chosen;
}

EditorSettings LoadSettings(FileSystem& files, const String& path) {
  String text;
  if (files.ReadFile(path, text)) return {};
  return ParseSettings(files.TextCodePage(), text);
}

FileError StoreSettings(FileSystem& files, const String& path, const EditorSettings& settings) {
  // The user's own settings folder and its maker's folder above it (UserSettingsFolder).
  const String folder = FolderOfPath(path);
  if (!files.FolderExists(folder)) {
    files.CreateFolder(FolderOfPath(folder));
    files.CreateFolder(folder);
  }
  return ReplaceFileContents(files, path, FormatSettings(files.TextCodePage(), settings));
}

}  // namespace pelorin
