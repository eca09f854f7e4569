#pragma once

#include "Str.h"

namespace pelorin {

// A program's main window, known by its window class and title and by the program file its
// process runs, so that a message box or another program's window with the same title is
// never taken for it.
struct ProgramWindow {
  String className;
  String title;
  String programPath;
};

// The top-level windows of other programs.
class AppWindows {
 protected:
  // Never deleted through this type, so no virtual destructor in every implementation.
  ~AppWindows() = default;

 public:
  // Whether a window that is `window` is open.
  virtual bool IsRunning(const ProgramWindow& window) = 0;
  // Asks every window that is `window` to close and waits, at most `waitMs` in all, for the
  // processes that own them to end. True when none of them runs any more, also when there
  // was no such window; a window of any other program is never touched.
  virtual bool CloseProgram(const ProgramWindow& window, unsigned long waitMs) = 0;
  // Lets `milliseconds` pass, for a window that was asked to close; this program's own
  // windows are served meanwhile.
  virtual void Pause(unsigned long milliseconds) = 0;
};

}  // namespace pelorin
