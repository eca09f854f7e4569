#include "GameFolder.h"

#include "Concat.h"
#include "ItemNames.h"

namespace pelorin {

bool IsEngineProgram(std::string_view fileName) {
  for (std::string_view program : kEnginePrograms)
    if (SameFileName(fileName, program)) return true;
  return false;
}

bool IsEngineRunning(const std::vector<std::string>& programNames) {
  for (const std::string& name : programNames)
    if (IsEngineProgram(name)) return true;
  return false;
}

bool IsGameFolder(FileSystem& files, const std::string& folder) {
  for (std::string_view program : kEnginePrograms) {
    std::vector<std::string> found;
    if (!files.ListFiles(folder, std::string(program), found) && found.size() == 1) return true;
  }
  return false;
}

FileError ListConfigFiles(FileSystem& files, const std::string& folder, std::vector<std::string>& names) {
  constexpr std::string_view kExtension = ".cfg";
  if (FileError error = files.ListFiles(folder, "*.cfg", names)) return error;
  std::size_t kept = 0;
  // Moved rather than swapped: std::string's swap is larger than the moves the program has.
  for (std::string& name : names) {
    if (name.size() <= kExtension.size() ||
        !SameFileName(std::string_view(name).substr(name.size() - kExtension.size()), kExtension))
      continue;
    if (&name != &names[kept]) names[kept] = std::move(name);
    ++kept;
  }
  names.erase(names.begin() + kept, names.end());
  return {};
}

FileError ModsWithConfigs(FileSystem& files, const std::string& gameFolder,
                          std::vector<std::string>& mods) {
  mods.clear();
  std::vector<std::string> folders;
  if (FileError error = files.ListFolders(gameFolder, folders)) return error;
  const std::string base = WithTrailingBackslash(gameFolder);
  for (const std::string& folder : folders) {
    std::vector<std::string> configs;
    if (!ListConfigFiles(files, base + folder, configs) && !configs.empty())
      mods.emplace_back(LastPathComponent(base + folder));
  }
  return {};
}

std::string EngineHomePath(const std::string& appDataFolder) {
  return appDataFolder.empty() ? std::string() : Concat({WithTrailingBackslash(appDataFolder), "Quake3"});
}

FileError ModsInBothPlaces(FileSystem& files, const std::string& gameFolder, const std::string& homePath,
                           std::vector<std::string>& mods) {
  if (FileError error = ModsWithConfigs(files, gameFolder, mods)) return error;
  std::vector<std::string> homeMods;
  if (homePath.empty() || !files.FolderExists(homePath) || ModsWithConfigs(files, homePath, homeMods)) return {};
  for (std::string& mod : homeMods) {
    std::size_t listed = 0;
    while (listed < mods.size() && !SameFileName(mods[listed], mod)) ++listed;
    if (listed == mods.size()) mods.push_back(std::move(mod));
  }
  return {};
}

std::string_view LastPathComponent(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace pelorin
