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
    String commandLine;
    WindowShow show;
    bool waited;
    unsigned long timeoutMs = 0;  // of a start that waits
    String currentFolder;
  };
  std::vector<Started> started;
  bool startFails = false;
  bool programsFail = false;  // what is waited for ends with an exit code other than 0
  std::vector<String> running;  // what RunningProgramNames answers

  bool Start(const String& commandLine, WindowShow show, const String& currentFolder = {}) override {
    started.push_back({commandLine, show, false, 0, currentFolder});
    return !startFails;
  }
  bool RunAndWait(const String& commandLine, unsigned long timeoutMs) override {
    started.push_back({commandLine, WindowShow::kNormal, true, timeoutMs, {}});
    return !startFails;
  }
  bool RunAndSucceed(const String& commandLine, unsigned long timeoutMs,
                     const String& currentFolder = {}) override {
    started.push_back({commandLine, WindowShow::kNormal, true, timeoutMs, currentFolder});
    return !startFails && !programsFail;
  }
  std::vector<String> RunningProgramNames() override { return running; }
};

}  // namespace pelorin::testing
