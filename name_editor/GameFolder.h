#pragma once

#include <array>
#include "Str.h"
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// The programs by which a game folder is known, and which are the game when they run: the
// original game, ioquake3 (32-bit, 64-bit and its older name), Quake3e (with its Vulkan and
// ARM builds) and CNQ3, the engine of CPMA.
inline constexpr std::array<std::string_view, 12> kEnginePrograms = {
    "quake3.exe",        "ioquake3.x86.exe",       "ioquake3.x86_64.exe",      "ioquake3.exe",
    "quake3e.exe",       "quake3e.x64.exe",        "quake3e-vulkan.exe",       "quake3e-vulkan.x64.exe",
    "quake3e.arm64.exe", "quake3e-vulkan.arm64.exe", "cnq3-x86.exe",           "cnq3-x64.exe"};

// Whether a file name is one of the engine programs, in any letter case.
bool IsEngineProgram(std::string_view fileName);

// Whether one of `programNames` (file names of running programs) is an engine program.
bool IsEngineRunning(const std::vector<String>& programNames);

// A game folder holds exactly one file of one of the engine programs' names.
bool IsGameFolder(FileSystem& files, const String& folder);

// The configuration files directly in `folder`: files whose own name ends in ".cfg", in any
// letter case. A "*.cfg" listing also returns files whose short 8.3 alias ends so, such as
// the backups "autoexec.cfg_old" and "q3config.cfg~"; those are left out.
FileError ListConfigFiles(FileSystem& files, const String& folder, std::vector<String>& names);

// The bare names of the game folder's immediate subfolders that hold at least one ".cfg".
FileError ModsWithConfigs(FileSystem& files, const String& gameFolder,
                          std::vector<String>& mods);

// The engine's home path, where ioquake3 and Quake3e keep the configuration they write and
// read first: "Quake3" in the user's application data folder. Empty when that is unknown.
String EngineHomePath(const String& appDataFolder);

// The mods with configuration files in the game folder and in the engine's home path, each
// once (names compared without regard to case): the game folder's first, in listing order,
// then those only the home path has. A home path that is empty or missing adds none.
FileError ModsInBothPlaces(FileSystem& files, const String& gameFolder, const String& homePath,
                           std::vector<String>& mods);

// The text after the last backslash; the whole path when it has none.
std::string_view LastPathComponent(std::string_view path);

}  // namespace pelorin
