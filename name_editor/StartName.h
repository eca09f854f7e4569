#pragma once

#include "Str.h"

#include "FileSystem.h"

namespace pelorin {

// The name the game starts with: the value of the cvar "name" after the engine executed
// baseq3's q3config.cfg, then its autoexec.cfg, each taken from the engine's home path where
// that has the file, else from the game folder. Empty where neither sets it. Reads only.
String NameTheGameStartsWith(FileSystem& files, const String& gameFolder, const String& homePath);

}  // namespace pelorin
