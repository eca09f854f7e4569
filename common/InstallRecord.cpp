#include "InstallRecord.h"

namespace pelorin {

std::string SetupTempFolder(std::string_view temporaryPath) {
  while (!temporaryPath.empty() && temporaryPath.back() == '\\') temporaryPath.remove_suffix(1);
  return std::string(temporaryPath) + "\\SetupTemp\\";
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
