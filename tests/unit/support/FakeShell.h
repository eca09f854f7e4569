#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Shell.h"

namespace pelorin::testing {

// Fixed folders; shortcuts and opened files are recorded, not made.
class FakeShell : public Shell {
 public:
  std::string systemFolder;
  std::string startMenuFolder;
  std::string allUsersStartMenuFolder;
  std::string programsName = "Programs";
  bool administrator = false;
  bool desktopStarts = true;
  std::vector<std::string> startedFromDesktop;
  std::vector<std::pair<std::string, ShellLink>> links;
  std::vector<std::string> opened;
  bool linksFail = false;

  std::string SystemFolder() override { return systemFolder; }
  bool HasAdministratorRights() override { return administrator; }
  // Each program folder is the folder `programsName` in its Start Menu.
  std::string StartMenuFolder(StartMenuOwner owner, bool programs) override {
    const std::string& folder = owner == StartMenuOwner::kAllUsers ? allUsersStartMenuFolder : startMenuFolder;
    return folder.empty() || !programs ? folder : folder + "\\" + programsName;
  }
  bool StartFromDesktop(const std::string& path, const std::string&) override {
    if (!desktopStarts) return false;
    startedFromDesktop.push_back(path);
    return true;
  }
  bool CreateShellLink(const std::string& linkFile, const ShellLink& link) override {
    if (linksFail) return false;
    links.emplace_back(linkFile, link);
    return true;
  }
  bool OpenWithShell(const std::string& path, const std::string&) override {
    opened.push_back(path);
    return true;
  }
};

}  // namespace pelorin::testing
