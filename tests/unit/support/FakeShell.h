#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Shell.h"

namespace pelorin::testing {

// Fixed folders; shortcuts and opened files are recorded, not made.
class FakeShell : public Shell {
 public:
  String systemFolder;
  String startMenuFolder;
  String allUsersStartMenuFolder;
  String programsName = "Programs";
  bool administrator = false;
  bool desktopStarts = true;
  std::vector<String> startedFromDesktop;
  std::vector<std::pair<String, ShellLink>> links;
  std::vector<String> opened;
  bool linksFail = false;

  String SystemFolder() override { return systemFolder; }
  bool HasAdministratorRights() override { return administrator; }
  // Each program folder is the folder `programsName` in its Start Menu.
  String StartMenuFolder(StartMenuOwner owner, bool programs) override {
    const String& folder = owner == StartMenuOwner::kAllUsers ? allUsersStartMenuFolder : startMenuFolder;
    return folder.empty() || !programs ? folder : folder + "\\" + programsName;
  }
  bool StartFromDesktop(const String& path, const String&) override {
    if (!desktopStarts) return false;
    startedFromDesktop.push_back(path);
    return true;
  }
  bool CreateShellLink(const String& linkFile, const ShellLink& link) override {
    if (linksFail) return false;
    links.emplace_back(linkFile, link);
    return true;
  }
  bool OpenWithShell(const String& path, const String&) override {
    opened.push_back(path);
    return true;
  }
};

}  // namespace pelorin::testing
