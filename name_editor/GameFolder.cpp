#include "GameFolder.h"

namespace pelorin {

bool IsGameFolder(FileSystem& files, const std::string& folder) {
  std::vector<std::string> found;
  return !files.ListFiles(folder, "quake3.exe", found) && found.size() == 1;
}

FileError ModsWithConfigs(FileSystem& files, const std::string& gameFolder,
                          std::vector<std::string>& mods) {
  mods.clear();
  std::vector<std::string> folders;
  if (FileError error = files.ListFolders(gameFolder, folders)) return error;
  const std::string base = WithTrailingBackslash(gameFolder);
  for (const std::string& folder : folders) {
    std::vector<std::string> configs;
    if (!files.ListFiles(base + folder, "*.cfg", configs) && !configs.empty())
      mods.emplace_back(LastPathComponent(base + folder));
  }
  return {};
}

std::string_view LastPathComponent(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace pelorin
