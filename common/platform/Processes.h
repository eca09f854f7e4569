#pragma once

#include "Str.h"
#include <vector>

namespace pelorin {

enum class WindowShow { kNormal, kNormalNoFocus, kHidden };

// Starting other programs, and seeing which run. A command line is in the system's form: the program's path comes
// first and is quoted when it may hold blanks (QuotedPath).
class Processes {
 protected:
  // Never deleted through this type, so no virtual destructor in every implementation.
  ~Processes() = default;

 public:
  // Starts a program and goes on at once; false when it could not be started. It runs in
  // `currentFolder`, or in this program's own current folder when that is empty.
  virtual bool Start(const String& commandLine, WindowShow show, const String& currentFolder = {}) = 0;
  // Starts a program and waits until it has ended or `timeoutMs` have passed; false when it
  // could not be started or was still running at the end.
  virtual bool RunAndWait(const String& commandLine, unsigned long timeoutMs) = 0;
  // As RunAndWait, in `currentFolder` when given, and true only when the program also ended
  // with exit code 0.
  virtual bool RunAndSucceed(const String& commandLine, unsigned long timeoutMs,
                             const String& currentFolder = {}) {
    static_cast<void>(currentFolder);
    return RunAndWait(commandLine, timeoutMs);
  }
  // The file names (without folder) of the programs running now; empty when the system
  // cannot tell.
  virtual std::vector<String> RunningProgramNames() = 0;
};

// `path` in quotation marks, so that a command line names it whole even with blanks in it.
inline String QuotedPath(const String& path) { return '"' + path + '"'; }

}  // namespace pelorin
