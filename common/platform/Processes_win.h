#pragma once

#include "Processes.h"

namespace pelorin {

class Win32Processes : public Processes {
 public:
  bool Start(const std::string& commandLine, WindowShow show, const std::string& currentFolder = {}) override;
  bool RunAndWait(const std::string& commandLine, unsigned long timeoutMs) override;
  bool RunAndSucceed(const std::string& commandLine, unsigned long timeoutMs,
                     const std::string& currentFolder = {}) override;
  std::vector<std::string> RunningProgramNames() override;
};

}  // namespace pelorin
