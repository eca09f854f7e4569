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
  };
  std::vector<Started> started;
  bool startFails = false;

  bool Start(const std::string& commandLine, WindowShow show) override {
    started.push_back({commandLine, show, false});
    return !startFails;
  }
  bool RunAndWait(const std::string& commandLine, unsigned long) override {
    started.push_back({commandLine, WindowShow::kNormal, true});
    return !startFails;
  }
};

}  // namespace pelorin::testing
