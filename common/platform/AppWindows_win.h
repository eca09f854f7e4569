#pragma once

#include "AppWindows.h"

namespace pelorin {

// Lets this program's own windows handle what arrived meanwhile, such as repaints.
void RunPendingMessages();

class Win32AppWindows : public AppWindows {
 public:
  bool IsRunning(const ProgramWindow& window) override;
  bool CloseProgram(const ProgramWindow& window, unsigned long waitMs) override;
  void Pause(unsigned long milliseconds) override;
};

}  // namespace pelorin
