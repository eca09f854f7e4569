#pragma once

#include "Str.h"
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// What setup leaves in the install folder and the registry for the uninstaller to read.

// The install log in the install folder: the application's name, its version and the main
// program's file name, then one line per installed entry.
inline constexpr char kInstallLogName[] = "install.log";
// Beside it, the folders setup created for the install folder, one full path a line, so
// that removal takes away those and no folder that was there before. Only setup and the
// uninstaller read it.
inline constexpr char kCreatedFoldersName[] = "folders.log";
// An entry's first character marks a file in the system folder or a shortcut; any other
// entry is a path relative to the install folder.
inline constexpr char kSystemFileMarker = '$';
inline constexpr char kShortcutMarker = '&';
// The editor's main window class, which it registers under this name: setup and the
// uninstaller close the editor by it, its title and its program file, never by title alone.
inline constexpr char kEditorWindowClass[] = "PelorinMain";
// Below the user's %APPDATA%, where the editor keeps its settings when it may not write
// beside itself (an install for every user).
inline constexpr char kEditorSettingsFolder[] = "Brackwater\\Pelorin";

// Adds the folders setup has just created (full paths) to the record in `installFolder`,
// keeping those of earlier installs: an install over an existing folder creates none.
FileError RecordCreatedFolders(FileSystem& files, const String& installFolder,
                               const std::vector<String>& created);

// Where the system keeps its list of removable programs, under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kUninstallKeys =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// `text` with every `from` character replaced by `to`.
String ReplaceChars(String text, char from, char to);

// The application's name as a registry key name: backslashes and slashes become blanks.
String UninstallKeyName(const String& appName);

// The full path of the application's removal registration below HKEY_LOCAL_MACHINE.
String UninstallKeyPath(const String& appName);

}  // namespace pelorin
