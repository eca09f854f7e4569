#pragma once

#include "Str.h"
#include <string_view>
#include <vector>

#include "AnsiCodePage.h"
#include "FileSystem.h"

namespace pelorin {

// What "settings.ini" beside the program carries between runs, by line: the game folder,
// the last saved name, then the history names. The folder is UTF-8, as every path in the
// programs; the names are the game's bytes, which are the ANSI code page's text.
struct EditorSettings {
  String gameFolder;  // empty: not known yet
  String lastSavedName;
  std::vector<String> history;
};

inline constexpr char kSettingsFileName[] = "settings.ini";

// Reads the positional lines; missing lines read as empty, history lines 3 to 6 that are
// empty are skipped and lines after the sixth are ignored. The file is a text file
// (TextFile.h): in the code page, names as they are, when the folder fits it, as always;
// otherwise UTF-8, names too. A folder that does not convert reads as not known; a name
// that does not is left out, never changed.
EditorSettings ParseSettings(const AnsiCodePage& codePage, std::string_view bytes);
String FormatSettings(const AnsiCodePage& codePage, const EditorSettings& settings);

// The settings file of a program in `programFolder`.
String SettingsPath(const String& programFolder);

// Where a program in `programFolder` keeps its settings: beside itself where its user may
// write there (an install for one account, a copy in a folder of one's own); else in the
// user's `appData` (%APPDATA%), below Brackwater\Pelorin. A file there that does not exist
// yet starts from the copy that the system's file virtualization made of the one beside the
// program in `virtualStore` (%LOCALAPPDATA%\VirtualStore), else from the one beside it.
struct SettingsFiles {
  String path;       // read and written
  String startFrom;  // read instead while `path` does not exist; empty: nothing to take over
};
SettingsFiles ChooseSettingsFiles(FileSystem& files, const String& programFolder, const String& appData,
                                  const String& virtualStore);

// Where the system's file virtualization keeps its copy of a file at `path` on a drive: the
// path without its drive, below `virtualStore`; empty for any other path.
String VirtualStoreCopy(const String& virtualStore, const String& path);

// The user's own settings folder below `appData`.
String UserSettingsFolder(const String& appData);

// A missing or unreadable file gives empty settings.
EditorSettings LoadSettings(FileSystem& files, const String& path);
// Writes through a temporary file and an atomic replace, making the folder where it is missing.
FileError StoreSettings(FileSystem& files, const String& path, const EditorSettings& settings);

}  // namespace pelorin
