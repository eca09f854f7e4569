#include "InstallRecord.h"

#include "TextFile.h"
#include "TextLines.h"

namespace pelorin {

FileError RecordCreatedFolders(FileSystem& files, const std::string& installFolder,
                               const std::vector<std::string>& created) {
  if (created.empty()) return {};
  const std::string path = WithTrailingBackslash(installFolder) + kCreatedFoldersName;
  std::string record;
  ReadTextFile(files, path, record);
  std::vector<std::string> lines = SplitLines(record);
  lines.insert(lines.end(), created.begin(), created.end());
  return ReplaceTextFile(files, path, JoinLines(lines));
}

std::string ReplaceChars(std::string text, char from, char to) {
  for (char& c : text)
    if (c == from) c = to;
  return text;
}

std::string UninstallKeyName(const std::string& appName) {
  return ReplaceChars(ReplaceChars(appName, '\\', ' '), '/', ' ');
}

std::string UninstallKeyPath(const std::string& appName) {
  return std::string(kUninstallKeys) + UninstallKeyName(appName);
}

}  // namespace pelorin
