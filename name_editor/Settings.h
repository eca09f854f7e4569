#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// What "settings.ini" beside the program carries between runs, by line: the game folder,
// the last saved name, then the history names.
struct EditorSettings {
  std::string gameFolder;  // empty: not known yet
  std::string lastSavedName;
  std::vector<std::string> history;
};

inline constexpr char kSettingsFileName[] = "settings.ini";

// Reads the positional lines; missing lines read as empty, history lines 3 to 6 that are
// empty are skipped and lines after the sixth are ignored.
EditorSettings ParseSettings(std::string_view text);
std::string FormatSettings(const EditorSettings& settings);

// The settings file of a program in `programFolder`.
std::string SettingsPath(const std::string& programFolder);

// A missing or unreadable file gives empty settings.
EditorSettings LoadSettings(FileSystem& files, const std::string& path);
// Writes through a temporary file and an atomic replace.
FileError StoreSettings(FileSystem& files, const std::string& path, const EditorSettings& settings);

}  // namespace pelorin
