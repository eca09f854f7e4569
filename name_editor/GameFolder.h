#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// A game folder holds exactly one file matching "quake3.exe".
bool IsGameFolder(FileSystem& files, const std::string& folder);

// The bare names of the game folder's immediate subfolders that hold at least one ".cfg".
FileError ModsWithConfigs(FileSystem& files, const std::string& gameFolder,
                          std::vector<std::string>& mods);

// The text after the last backslash; the whole path when it has none.
std::string_view LastPathComponent(std::string_view path);

}  // namespace pelorin
