#include "GameEditions.h"

#include <algorithm>

#include "Concat.h"
#include "GameFolder.h"

namespace pelorin {

namespace {

// The longer texts are literals behind pointers: the compiler aligns a named array of 32
// bytes or more to 32 bytes in the program.
constexpr const char* kSteamUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 2200";
constexpr char kSteamKey[] = "Software\\Valve\\Steam";
constexpr const char* kSteamGameFolder = "\\steamapps\\common\\Quake 3 Arena";
constexpr const char* kGogKey = "SOFTWARE\\GOG.com\\Games\\1441704920";
constexpr const char* kWindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kStoreGameFolder = "\\ModifiableWindowsApps\\Quake 3\\EN";

// Steam writes its own path with forward slashes; the rest of the editor joins with
// backslashes. A trailing separator would double when a folder is joined on.
String TidyFolder(String folder) {
  std::replace(folder.begin(), folder.end(), '/', '\\');
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace

std::vector<String> EditionFolders(Registry& registry) {
  struct Place {
    RegistryRoot root;
    const char* key;
    const char* value;
    RegistryView view;
    const char* below;          // the game's folder below the one read
    bool unlessPreviousWasRead;  // another place for the same folder
  };
  constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser, kMachine = RegistryRoot::kLocalMachine;
  // The Store installs into the 64-bit Program Files, which a 32-bit program finds under
  // ProgramW6432Dir. Wine records that value in neither view, but the 64-bit view's
  // ProgramFilesDir is the same folder; a 32-bit system has only the one Program Files.
  static constexpr Place kPlaces[] = {
      {kMachine, kSteamUninstallKey, "InstallLocation", RegistryView::k32Bit, "", false},
      {kUser, kSteamKey, "SteamPath", RegistryView::kOwn, kSteamGameFolder, false},
      {kMachine, kGogKey, "PATH", RegistryView::k32Bit, "", false},
      {kMachine, kWindowsKey, "ProgramW6432Dir", RegistryView::kOwn, kStoreGameFolder, false},
      {kMachine, kWindowsKey, "ProgramFilesDir", RegistryView::k64Bit, kStoreGameFolder, true},
  };
  std::vector<String> folders;
  String text;
  bool read = false;
  for (const Place& place : kPlaces) {
    if (place.unlessPreviousWasRead && read) continue;
    read = registry.ReadKeyValue(place.root, place.key, place.value, text, place.view);
    if (read && !text.empty()) folders.push_back(Concat({TidyFolder(text), place.below}));
  }
  return folders;
}

String FindInstalledEdition(Registry& registry, FileSystem& files) {
  for (const String& folder : EditionFolders(registry))
    if (IsGameFolder(files, folder)) return folder;
  return {};
}

}  // namespace pelorin
