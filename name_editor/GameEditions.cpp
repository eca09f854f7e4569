#include "GameEditions.h"

#include <algorithm>

#include "GameFolder.h"

namespace pelorin {

namespace {

constexpr char kSteamUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 2200";
constexpr char kSteamKey[] = "Software\\Valve\\Steam";
constexpr char kSteamGameFolder[] = "\\steamapps\\common\\Quake 3 Arena";
constexpr char kGogKey[] = "SOFTWARE\\GOG.com\\Games\\1441704920";
constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kStoreGameFolder[] = "\\ModifiableWindowsApps\\Quake 3\\EN";

// Steam writes its own path with forward slashes; the rest of the editor joins with
// backslashes. A trailing separator would double when a folder is joined on.
std::string TidyFolder(std::string folder) {
  std::replace(folder.begin(), folder.end(), '/', '\\');
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace

std::vector<std::string> EditionFolders(Registry& registry) {
  std::vector<std::string> folders;
  std::string text;
  if (registry.ReadKeyValue(RegistryRoot::kLocalMachine, kSteamUninstallKey, "InstallLocation", text,
                            RegistryView::k32Bit) && !text.empty())
    folders.push_back(TidyFolder(text));
  if (registry.ReadKeyValue(RegistryRoot::kCurrentUser, kSteamKey, "SteamPath", text) && !text.empty())
    folders.push_back(TidyFolder(text) + kSteamGameFolder);
  if (registry.ReadKeyValue(RegistryRoot::kLocalMachine, kGogKey, "PATH", text, RegistryView::k32Bit) &&
      !text.empty())
    folders.push_back(TidyFolder(text));
  // The Store installs into the 64-bit Program Files, which a 32-bit program finds under
  // ProgramW6432Dir. Wine records that value in neither view, but the 64-bit view's
  // ProgramFilesDir is the same folder; a 32-bit system has only the one Program Files.
  if ((registry.ReadKeyValue(RegistryRoot::kLocalMachine, kWindowsKey, "ProgramW6432Dir", text) ||
       registry.ReadKeyValue(RegistryRoot::kLocalMachine, kWindowsKey, "ProgramFilesDir", text,
                             RegistryView::k64Bit)) &&
      !text.empty())
    folders.push_back(TidyFolder(text) + kStoreGameFolder);
  return folders;
}

std::string FindInstalledEdition(Registry& registry, FileSystem& files) {
  for (const std::string& folder : EditionFolders(registry))
    if (IsGameFolder(files, folder)) return folder;
  return {};
}

}  // namespace pelorin
