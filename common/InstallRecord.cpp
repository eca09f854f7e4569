#include "InstallRecord.h"

namespace pelorin {

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
