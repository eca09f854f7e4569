#pragma once

namespace pelorin::win {

// Setup's run of the program: the command line read, the pack unpacked, the wizard or the
// quiet install; returns the exit code.
int RunSetup();

}  // namespace pelorin::win
