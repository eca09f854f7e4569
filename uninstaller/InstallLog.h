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
};

// Reads the log's text; lines end in CR or CR LF. Missing header lines stay empty, and every
// entry is kept, however many there are.
InstallLog ReadInstallLog(std::string_view text);

enum class EntryKind {
  kInstalledFile,  // a file below the install folder
  kSystemFile,     // a file directly in the system folder, removed only when the user agrees
  kShortcut,       // a shortcut file
  kSkipped,        // anything else: the log is plain text anyone can edit, so it is not obeyed
};

struct LogEntry {
  EntryKind kind = EntryKind::kSkipped;
  std::string path;  // the full path to delete, or empty when skipped
};

// What an entry asks to remove, and where. `installFolder` and `systemFolder` may end in a
// backslash or not.
LogEntry ClassifyEntry(const std::string& entry, const std::string& installFolder,
                       const std::string& systemFolder);

}  // namespace pelorin
