#pragma once

#include "Str.h"
#include <vector>

#include "FileSystem.h"
#include "InstallScope.h"
#include "Registry.h"
#include "SetupData.h"

namespace pelorin {

// The install folder that the wizard proposes and a quiet run uses: the setup information's
// fixed path when it has one; else the folder of an earlier install of the same application
// in `scope`, when the scope's removal registration names one that still holds the install
// log, so that an upgrade lands on it; else the maker's folder under `programsFolder`: the
// Program Files folder as the system names it for this program, or for one account its
// %LOCALAPPDATA%\Programs. No trailing backslash.
String ProposedInstallPath(FileSystem& files, Registry& registry, const SetupInfo& info,
                                const String& programsFolder, InstallScope scope = InstallScope::kMachine);

// Folders no install may take as its own, since removal would take them away: the Windows
// folder (and all below it), and, each by itself, the system folder, the user's profile,
// Desktop and Documents, and Program Files.
struct ReservedFolders {
  String windows;
  std::vector<String> others;
  // The path by which the system knows an existing folder (links, junctions and short names
  // resolved), or null where paths are taken as they are.
  String (*finalPath)(const String& path) = nullptr;
};

struct InstallFolderChoice {
  bool refused = false;
  String path;    // the folder to install into, normalised; empty when refused
  String reason;  // why it is refused
};

// The folder typed, browsed or given with /D= as the install may own it: a full path with
// blanks, dots and backslashes at its end trimmed; never empty, relative, a drive or share
// root, or a reserved folder. A folder that exists and holds anything but this application's
// install (an install log naming `appName`) gets "\" + `appName` appended, so that removal,
// which takes the install folder when it is empty, never takes a folder of the user's. So
// does one that other accounts than the administrators can change (FileSystem::OthersCanWrite):
// the programs installed run with administrator rights at times, and setup makes the new
// folder with the install folder's own rights. The folder chosen must then pass the rule for
// the whole path (InstallPathProblem) for `scope`.
InstallFolderChoice ChooseInstallFolder(FileSystem& files, const String& typed, const String& appName,
                                        const ReservedFolders& reserved, InstallScope scope = InstallScope::kMachine);

}  // namespace pelorin
