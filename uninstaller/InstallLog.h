#pragma once

#include "Str.h"
#include <string_view>
#include <vector>

namespace pelorin {

// The install log holds three header lines (the program's name, its version and its file
// relative to the install folder, or empty), then one entry per line; lines end in CR or CR LF.

enum class EntryKind {
  kInstalledFile,  // a file below the install folder
  kSystemFile,     // a file directly in the system folder, removed only when the user agrees
  kShortcut,       // a shortcut file below one of the Start Menu's Programs folders
  kSkipped,        // anything else: the log is plain text anyone can edit, so it is not obeyed
};

// Where the uninstaller stands; folders may end in a backslash or not, an empty one holds
// nothing. The texts stay where they are for as long as what is read with them.
struct RemovalPlaces {
  std::string_view installFolder;
  std::string_view uninstallerPath;
  std::string_view systemFolder;
  const std::vector<String>& programsFolders;  // the Start Menu's, the user's and all users'
};

struct LogEntry {
  EntryKind kind = EntryKind::kSkipped;
  String path;             // the full path to delete, or empty when skipped
  std::string_view stopFolder;  // the folder whose emptied subfolders may go, not itself (in places)
};

// Whether a line holds NUL or another control character, which no path setup writes does.
bool IsDamagedLine(std::string_view line);

// Whether `path` lies below `folder`, compared as full paths without regard to letter case
// and at a backslash; an empty folder holds nothing.
bool IsInsideFolder(std::string_view path, std::string_view folder);

// Whether two full paths are the same without regard to letter case and trailing
// backslashes; an empty one names nothing.
bool IsSamePath(std::string_view a, std::string_view b);

// A name below a folder as setup writes one: steps joined by backslashes, none empty, none
// ending in a dot or a blank (which the system would drop, so ".. " would climb), and no
// control character or other character that a file name cannot hold.
bool IsPlainRelativeName(std::string_view name);

// What an entry asks to remove, and where.
LogEntry ClassifyEntry(std::string_view entry, const RemovalPlaces& places);

}  // namespace pelorin
