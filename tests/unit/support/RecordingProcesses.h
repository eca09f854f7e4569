#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Processes.h"

namespace pelorin::testing {

// Starts nothing: records each command line with how it would have been started.
class RecordingProcesses : public Processes {
 public:
  struct Started {
    std::string commandLine;
    WindowShow show;
    bool waited;
    unsigned long timeoutMs = 0;  // of a start that waits
    std::string currentFolder;
  };
  std::vector<Started> started;
  bool startFails = false;
  bool programsFail = false;  // what is waited for ends with an exit code other than 0
  std::vector<std::string> running;  // what RunningProgramNames answers

  bool Start(const std::string& commandLine, WindowShow show, const std::string& currentFolder = {}) override {
    started.push_back({commandLine, show, false, 0, currentFolder});
    return !startFails;
  }
  bool RunAndWait(const std::string& commandLine, unsigned long timeoutMs) override {
    started.push_back({commandLine, WindowShow::kNormal, true, timeoutMs, {}});
    return !startFails;
  }
  bool RunAndSucceed(const std::string& commandLine, unsigned long timeoutMs,
                     const std::string& currentFolder = {}) override {
    started.push_back({commandLine, WindowShow::kNormal, true, timeoutMs, currentFolder});
    return !startFails && !programsFail;
  }
  std::vector<std::string> RunningProgramNames() override { return running; }
};

}  // namespace pelorin::testing
