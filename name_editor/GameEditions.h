#pragma once

#include "Str.h"
#include <vector>

#include "FileSystem.h"
#include "Registry.h"

namespace pelorin {

// Where the shops' editions of the game are installed, as their installers record it and
// as the engine itself looks for them, in this order: Steam (its uninstall entry, then the
// Steam library), GOG, Microsoft Store. Folders that cannot be had are left out.
std::vector<String> EditionFolders(Registry& registry);

// The first of the edition folders that is a game folder; empty when there is none.
String FindInstalledEdition(Registry& registry, FileSystem& files);

}  // namespace pelorin
