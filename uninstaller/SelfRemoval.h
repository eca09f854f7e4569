#pragma once

#include <string>

#include "FileSystem.h"

namespace pelorin {

// A running program cannot delete its own file, so the uninstaller leaves a batch file behind
// that waits for it to end, then clears the install folder and deletes itself.

struct SelfRemovalPaths {
  std::string programPath;     // the uninstaller's own file
  std::string shortProgram;    // its short form, or empty when the system gave none
  std::string shortFolder;     // the install folder's short form without its trailing backslash, or empty
  std::string setupTemp;       // the temporary folder that holds the batch file, ending in a backslash
};

inline constexpr char kAnswerFileName[] = "yes.txt";
inline constexpr char kBatchFileName[] = "uninstall.bat";

// The batch file's text, CR LF line ends. Every path in it is quoted, and a path without a
// short form is written in full, so no line ever names an empty path.
std::string SelfRemovalBatch(const SelfRemovalPaths& paths);

// Creates the temporary folder and writes the answer file and the batch file into it;
// false when the batch file could not be written, which then must not be started.
bool PrepareSelfRemoval(FileSystem& files, const SelfRemovalPaths& paths);

}  // namespace pelorin
