#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

// The install log as the uninstaller reads it: three header lines, then one entry per line.
struct InstallLog {
  std::string appName;
  std::string appVersion;
  std::string mainExe;  // relative to the install folder; empty when no program is to be told
  std::vector<std::string> entries;
  std::size_t lineCount = 0;  // header lines included
};

// Reads the log's text; lines end in CR or CR LF. Missing header lines stay empty, and every
// entry is kept, however many there are.
InstallLog ReadInstallLog(std::string_view text);

enum class EntryKind {
  kInstalledFile,  // a file below the install folder
  kSystemFile,     // a file directly in the system folder, removed only when the user agrees
  kShortcut,       // a shortcut file below one of the Start Menu's Programs folders
  kSkipped,        // anything else: the log is plain text anyone can edit, so it is not obeyed
};

// Where the uninstaller stands; folders may end in a backslash or not, an empty one holds
// nothing.
struct RemovalPlaces {
  std::string installFolder;
  std::string uninstallerPath;
  std::string systemFolder;
  std::vector<std::string> programsFolders;  // the Start Menu's, the user's and all users'
};

struct LogEntry {
  EntryKind kind = EntryKind::kSkipped;
  std::string path;        // the full path to delete, or empty when skipped
  std::string stopFolder;  // the folder whose emptied subfolders may go, not itself
};

// Whether a line holds NUL or another control character, which no path setup writes does.
bool IsDamagedLine(std::string_view line);

// Whether `path` lies below `folder`, compared as full paths without regard to letter case
// and at a backslash; an empty folder holds nothing.
bool IsInsideFolder(std::string_view path, std::string_view folder);

// A name below a folder as setup writes one: steps joined by backslashes, none empty, none
// ending in a dot or a blank (which the system would drop, so ".. " would climb), and no
// control character or other character that a file name cannot hold.
bool IsPlainRelativeName(std::string_view name);

// What an entry asks to remove, and where.
LogEntry ClassifyEntry(const std::string& entry, const RemovalPlaces& places);

}  // namespace pelorin
