#include "GameFolder.h"

#include "Concat.h"
#include "ItemNames.h"

namespace pelorin {

bool IsEngineProgram(std::string_view fileName) {
  for (std::string_view program : kEnginePrograms)
    if (SameFileName(fileName, program)) return true;
  return false;
}

bool IsEngineRunning(const std::vector<String>& programNames) {
  for (const String& name : programNames)
    if (IsEngineProgram(name)) return true;
  return false;
}

bool IsGameFolder(FileSystem& files, const String& folder) {
  for (std::string_view program : kEnginePrograms) {
    std::vector<String> found;
    if (!files.ListFiles(folder, String(program), found) && found.size() == 1) return true;
  }
  return false;
}

FileError ListConfigFiles(FileSystem& files, const String& folder, std::vector<String>& names) {
  constexpr std::string_view kExtension = ".cfg";
  if (FileError error = files.ListFiles(folder, "*.cfg", names)) return error;
  std::size_t kept = 0;
  for (String& name : names) {
    if (name.size() <= kExtension.size() ||
        !SameFileName(std::string_view(name).substr(name.size() - kExtension.size()), kExtension))
      continue;
    if (&name != &names[kept]) names[kept] = std::move(name);
    ++kept;
  }
  names.erase(names.begin() + kept, names.end());
  return {};
}

FileError ModsWithConfigs(FileSystem& files, const String& gameFolder,
                          std::vector<String>& mods) {
  mods.clear();
  std::vector<String> folders;
  if (FileError error = files.ListFolders(gameFolder, folders)) return error;
  const String base = WithTrailingBackslash(gameFolder);
  for (const String& folder : folders) {
    std::vector<String> configs;
    if (!ListConfigFiles(files, base + folder, configs) && !configs.empty())
      mods.emplace_back(LastPathComponent(base + folder));
  }
  return {};
}

String EngineHomePath(const String& appDataFolder) {
  return appDataFolder.empty() ? String() : Concat({WithTrailingBackslash(appDataFolder), "Quake3"});
}

FileError ModsInBothPlaces(FileSystem& files, const String& gameFolder, const String& homePath,
                           std::vector<String>& mods) {
  if (FileError error = ModsWithConfigs(files, gameFolder, mods)) return error;
  std::vector<String> homeMods;
  if (homePath.empty() || !files.FolderExists(homePath) || ModsWithConfigs(files, homePath, homeMods)) return {};
  for (String& mod : homeMods) {
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
