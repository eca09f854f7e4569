#pragma once

#include "Shell.h"

namespace pelorin {

// The shell's link object needs COM: the program initialises it on its thread before use.
class Win32Shell : public Shell {
 public:
  String SystemFolder() override;
  bool HasAdministratorRights() override;
  String StartMenuFolder(StartMenuOwner owner, bool programs) override;
  bool CreateShellLink(const String& linkFile, const ShellLink& link) override;
  bool StartFromDesktop(const String& path, const String& workingFolder) override;
  bool OpenWithShell(const String& path, const String& workingFolder) override;
};

// Reads a shortcut file back; false when it cannot be loaded.
bool GetShellLinkInfo(const String& linkFile, ShellLink& link);

}  // namespace pelorin
