#pragma once

#include <string>
#include <vector>

#include "AppWindows.h"

namespace pelorin::testing {

// One program window, "class title program", that is open until `closesAfterPauses` pauses
// after a close request have passed (never when negative); closes and pauses are recorded.
class FakeWindows : public AppWindows {
 public:
  String open;
  int closesAfterPauses = -1;
  std::vector<String> closed;
  unsigned long pausedMs = 0;

  static String Described(const ProgramWindow& window) {
    return window.className + " " + window.title + " " + window.programPath;
  }
  bool IsRunning(const ProgramWindow& window) override { return !open.empty() && Described(window) == open; }
  bool CloseProgram(const ProgramWindow& window, unsigned long) override {
    closed.push_back(Described(window));
    return !programStays;
  }
  bool programStays = false;  // the program asked to close by CloseProgram keeps running
  void Pause(unsigned long milliseconds) override {
    pausedMs += milliseconds;
    if (closed.empty() || closesAfterPauses < 0 || closesAfterPauses-- > 0) return;
    open.clear();
  }
};

}  // namespace pelorin::testing
