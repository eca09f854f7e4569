#pragma once

#include <string>

namespace pelorin {

// Paths the system knows; each is empty when the system cannot give it.

// This program's own file.
std::string ProgramPath();
// The account's temporary folder, as the system writes it (normally with a trailing
// backslash): SYSTEM's own where the system keeps one.
std::string TemporaryFolder();
// The Windows system folder, without a trailing backslash.
std::string SystemFolder();
// The user's roaming application data folder (CSIDL_APPDATA), without a trailing backslash.
std::string AppDataFolder();
// The short (8.3) form of an existing file or folder.
std::string ShortPathOf(const std::string& path);

}  // namespace pelorin
