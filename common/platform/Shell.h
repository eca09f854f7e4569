#pragma once

#include "Str.h"

namespace pelorin {

// What a shortcut file (".lnk") holds.
struct ShellLink {
  String target;
  String description;
  String workingFolder;
  String arguments;
  String iconFile;
  int iconIndex = 0;
  int showCommand = 0;
};

// Whose Start Menu: the current user's, or the one that every user of the machine sees.
enum class StartMenuOwner { kCurrentUser, kAllUsers };

// The parts of the system shell that setup uses: its folders, shortcut files and opening a
// file the way the desktop does.
class Shell {
 protected:
  // Never deleted through this type, so no virtual destructor in every implementation.
  ~Shell() = default;

 public:
  // The system folder, or empty when it cannot be had.
  virtual String SystemFolder() = 0;
  // Whether this program runs with administrator rights (elevated, where the system asks).
  virtual bool HasAdministratorRights() = 0;
  // The Start Menu folder of `owner`, or with `programs` its folder of programs (named in
  // the system's language); empty when it cannot be had.
  virtual String StartMenuFolder(StartMenuOwner owner, bool programs) = 0;
  // Saves a shortcut file; false when it could not be saved.
  virtual bool CreateShellLink(const String& linkFile, const ShellLink& link) = 0;
  // Starts a program through the desktop's own process, so that it runs as the user who
  // is logged on and not with this program's rights; false when the desktop cannot.
  virtual bool StartFromDesktop(const String& path, const String& workingFolder) = 0;
  // Opens a file as the shell would on a double click; false when it could not.
  virtual bool OpenWithShell(const String& path, const String& workingFolder) = 0;
};

}  // namespace pelorin
