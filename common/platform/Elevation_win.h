#pragma once

#include "Str.h"

namespace pelorin {

// Whether the running account is an administrator: this run has the rights now, or its
// token is the limited half of one that has them, which the system's prompt can raise.
bool AccountIsAdministrator();

// What became of a start of this program with administrator rights.
struct ElevatedRun {
  bool started = false;
  bool refused = false;  // the prompt was declined
  unsigned long exitCode = 0;
  unsigned long systemCode = 0;  // why it did not start
};

// Starts this program's own file again with administrator rights and `arguments` (the
// system asks the user), and waits for it to end.
ElevatedRun RunThisProgramElevated(const String& arguments);

}  // namespace pelorin
