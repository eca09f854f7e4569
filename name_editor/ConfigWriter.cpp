#include "ConfigWriter.h"

#include "TextLines.h"

namespace pelorin {

namespace {

constexpr std::string_view kNameSetting = "seta name";

}  // namespace

std::string ReplaceSetaName(std::string_view line, std::string_view name) {
  const std::size_t at = line.find(kNameSetting);
  if (at == std::string_view::npos) return std::string(line);
  std::string result(line.substr(0, at));
  result.append(kNameSetting).append(" \"").append(name).append("\"");
  const std::size_t lineFeed = line.find('\n', at + 1);
  if (lineFeed != std::string_view::npos) result.append(line.substr(lineFeed));
  return result;
}

bool NameFitsConfigLine(std::string_view name) {
  return name.find_first_of("\r\n\"") == std::string_view::npos;
}

ModSaveResult SaveNameToMod(FileSystem& files, const std::string& modFolder, std::string_view name) {
  ModSaveResult result;
  const std::string folder = WithTrailingBackslash(modFolder);
  std::vector<std::string> configs;
  if ((result.error = files.ListFiles(folder, "*.cfg", configs))) return result;

  for (const std::string& config : configs) {
    const std::string path = folder + config;
    std::string text;
    if ((result.error = files.ReadFile(path, text))) return result;
    if (text.find(kNameSetting) == std::string::npos) continue;

    std::vector<std::string> lines = SplitLines(text);
    for (std::string& line : lines) line = ReplaceSetaName(line, name);
    if ((result.error = ReplaceFileContents(files, path, JoinLines(lines)))) return result;
    result.saved.push_back(config);
  }
  return result;
}

}  // namespace pelorin
