#pragma once

namespace pelorin {

// Lets the system load DLLs that other DLLs ask for on demand only from the system folder,
// never from the program's own folder (often Downloads) or the current one. Called first
// thing in every program.
void HardenDllLoading();

}  // namespace pelorin
