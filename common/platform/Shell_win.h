#pragma once

#include "Shell.h"

namespace pelorin {

// The shell's link object needs COM: the program initialises it on its thread before use.
class Win32Shell : public Shell {
 public:
  std::string SystemFolder() override;
  bool HasAdministratorRights() override;
  std::string StartMenuFolder(StartMenuOwner owner, bool programs) override;
  bool CreateShellLink(const std::string& linkFile, const ShellLink& link) override;
  bool StartFromDesktop(const std::string& path, const std::string& workingFolder) override;
  bool OpenWithShell(const std::string& path, const std::string& workingFolder) override;
};

// Reads a shortcut file back; false when it cannot be loaded.
bool GetShellLinkInfo(const std::string& linkFile, ShellLink& link);

}  // namespace pelorin
