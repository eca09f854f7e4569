#include "InstallRecord.h"

#include "TextFile.h"
#include "TextLines.h"

namespace pelorin {

FileError RecordCreatedFolders(FileSystem& files, const String& installFolder,
                               const std::vector<String>& created) {
  if (created.empty()) return {};
  const String path = WithTrailingBackslash(installFolder) + kCreatedFoldersName;
  String record;
  ReadTextFile(files, path, record);
  std::vector<String> lines = SplitLines(record);
  lines.insert(lines.end(), created.begin(), created.end());
  return ReplaceTextFile(files, path, JoinLines(lines));
}

String ReplaceChars(String text, char from, char to) {
  for (char& c : text)
    if (c == from) c = to;
  return text;
}

String UninstallKeyName(const String& appName) {
  return ReplaceChars(ReplaceChars(appName, '\\', ' '), '/', ' ');
}

String UninstallKeyPath(const String& appName) {
  return String(kUninstallKeys) + UninstallKeyName(appName);
}

}  // namespace pelorin
