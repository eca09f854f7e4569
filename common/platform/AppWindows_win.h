#pragma once

#include "AppWindows.h"

namespace pelorin {

class Win32AppWindows : public AppWindows {
 public:
  bool IsRunning(const ProgramWindow& window) override;
  bool CloseProgram(const ProgramWindow& window, unsigned long waitMs) override;
  void Pause(unsigned long milliseconds) override;
};

}  // namespace pelorin
