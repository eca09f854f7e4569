#pragma once

#include <string>

namespace pelorin {

// The top-level windows of other programs.
class AppWindows {
 public:
  virtual ~AppWindows() = default;
  // Asks the first top-level window titled exactly `title` to close, and goes on without
  // waiting for its program to end. Nothing happens when no window has that title.
  virtual void Close(const std::string& title) = 0;
  // Whether a top-level window titled exactly `title` exists.
  virtual bool IsOpen(const std::string& title) = 0;
  // Lets `milliseconds` pass, for a window that was asked to close; this program's own
  // windows are served meanwhile.
  virtual void Pause(unsigned long milliseconds) = 0;
};

}  // namespace pelorin
