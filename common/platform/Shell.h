#pragma once

#include <string>

namespace pelorin {

// What a shortcut file (".lnk") holds.
struct ShellLink {
  std::string target;
  std::string description;
  std::string workingFolder;
  std::string arguments;
  std::string iconFile;
  int iconIndex = 0;
  int showCommand = 0;
};

// The parts of the system shell that setup uses: its folders, shortcut files and opening a
// file the way the desktop does.
class Shell {
 public:
  virtual ~Shell() = default;
  // The system folder, or empty when it cannot be had.
  virtual std::string SystemFolder() = 0;
  // The user's Start Menu folder, or empty when it cannot be had.
  virtual std::string StartMenuFolder() = 0;
  // Saves a shortcut file; false when it could not be saved.
  virtual bool CreateShellLink(const std::string& linkFile, const ShellLink& link) = 0;
  // Opens a file as the shell would on a double click; false when it could not.
  virtual bool OpenWithShell(const std::string& path, const std::string& workingFolder) = 0;
};

}  // namespace pelorin
