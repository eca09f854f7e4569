#pragma once

#include "Str.h"

#include "InstallFolder.h"

namespace pelorin {

// The Program Files folder as the system names it for this program: a 32-bit setup on
// 64-bit Windows gets "Program Files (x86)". "C:\Program Files" when the system gives none.
String ProgramFilesFolder();

// Where `scope` installs by default: the Program Files folder, or for one account its own
// %LOCALAPPDATA%\Programs.
String ProgramsFolder(InstallScope scope);

// The system's and the user's folders that no install may own.
ReservedFolders SystemReservedFolders();

// ChooseInstallFolder with this system's reserved folders.
InstallFolderChoice ChooseSystemInstallFolder(FileSystem& files, const String& typed, const String& appName,
                                              InstallScope scope);

}  // namespace pelorin
