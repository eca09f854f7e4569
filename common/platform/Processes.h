#pragma once

#include <string>
#include <vector>

namespace pelorin {

enum class WindowShow { kNormal, kNormalNoFocus, kHidden };

// Starting other programs, and seeing which run. A command line is in the system's form: the program's path comes
// first and is quoted when it may hold blanks (QuotedPath).
class Processes {
 public:
  virtual ~Processes() = default;
  // Starts a program and goes on at once; false when it could not be started. It runs in
  // `currentFolder`, or in this program's own current folder when that is empty.
  virtual bool Start(const std::string& commandLine, WindowShow show, const std::string& currentFolder = {}) = 0;
  // Starts a program and waits until it has ended or `timeoutMs` have passed; false when it
  // could not be started or was still running at the end.
  virtual bool RunAndWait(const std::string& commandLine, unsigned long timeoutMs) = 0;
  // As RunAndWait, in `currentFolder` when given, and true only when the program also ended
  // with exit code 0.
  virtual bool RunAndSucceed(const std::string& commandLine, unsigned long timeoutMs,
                             const std::string& currentFolder = {}) {
    static_cast<void>(currentFolder);
    return RunAndWait(commandLine, timeoutMs);
  }
  // The file names (without folder) of the programs running now; empty when the system
  // cannot tell.
  virtual std::vector<std::string> RunningProgramNames() = 0;
};

// `path` in quotation marks, so that a command line names it whole even with blanks in it.
inline std::string QuotedPath(const std::string& path) { return '"' + path + '"'; }

}  // namespace pelorin
