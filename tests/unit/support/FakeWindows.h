#pragma once

#include <string>
#include <vector>

#include "AppWindows.h"

namespace pelorin::testing {

// One window title that is open until `closesAfterPauses` pauses after a close request have
// passed (never when negative); closes and pauses are recorded.
class FakeWindows : public AppWindows {
 public:
  std::string openTitle;
  int closesAfterPauses = -1;
  std::vector<std::string> closed;
  unsigned long pausedMs = 0;

  bool IsOpen(const std::string& title) override { return !openTitle.empty() && title == openTitle; }
  bool CloseProgram(const ProgramWindow& window, unsigned long) override {
    closed.push_back(window.className + " " + window.title + " " + window.programPath);
    return !programStays;
  }
  bool programStays = false;  // the program asked to close by CloseProgram keeps running
  void Pause(unsigned long milliseconds) override {
    pausedMs += milliseconds;
    if (closed.empty() || closesAfterPauses < 0 || closesAfterPauses-- > 0) return;
    openTitle.clear();
  }
};

}  // namespace pelorin::testing
