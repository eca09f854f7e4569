#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::e2e {

struct ProcessOptions {
  std::string workingDirectory;      // empty: inherit
  std::vector<std::string> environment;  // NAME=value entries added to this process's own
  bool pipeInput = false;
  bool pipeOutput = false;
};

// A child process; it is killed when this value goes away while it still runs.
class Process {
 public:
  Process(const std::vector<std::string>& argv, const ProcessOptions& options = {});
  Process(Process&& other) noexcept;
  Process& operator=(Process&&) = delete;
  ~Process();

  bool Started() const { return pid_ > 0; }
  bool Running();
  // Exit code, or nothing when it still runs after `timeout`.
  std::optional<int> Wait(std::chrono::milliseconds timeout);
  void Kill();

  void WriteLine(const std::string& line);
  // One line of output without its line end; nothing on end of output or after `timeout`.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffered_;
  std::optional<int> exitCode_;
};

// Runs a command to its end and returns its exit code and standard output.
struct RunResult {
  int exitCode;
  std::string output;
};
RunResult Run(const std::vector<std::string>& argv, const ProcessOptions& options = {},
              std::chrono::milliseconds timeout = std::chrono::seconds(60));

}  // namespace pelorin::e2e
