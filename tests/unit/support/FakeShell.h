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
  std::vector<std::pair<std::string, ShellLink>> links;
  std::vector<std::string> opened;
  bool linksFail = false;

  std::string SystemFolder() override { return systemFolder; }
  std::string StartMenuFolder() override { return startMenuFolder; }
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
