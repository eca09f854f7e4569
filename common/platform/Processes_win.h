#pragma once

#include "Processes.h"

namespace pelorin {

class Win32Processes : public Processes {
 public:
  bool Start(const String& commandLine, WindowShow show, const String& currentFolder = {}) override;
  bool RunAndWait(const String& commandLine, unsigned long timeoutMs) override;
  bool RunAndSucceed(const String& commandLine, unsigned long timeoutMs,
                     const String& currentFolder = {}) override;
  std::vector<String> RunningProgramNames() override;
};

}  // namespace pelorin
