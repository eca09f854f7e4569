#pragma once

namespace pelorin::win {

// The uninstaller's run of the program: the command line read, the removal with its window
// or quietly; returns the exit code.
int RunUninstall();

}  // namespace pelorin::win
