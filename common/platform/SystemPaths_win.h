#pragma once

#include "Str.h"

namespace pelorin {

// Paths the system knows; each is empty when the system cannot give it.

// This program's own file.
String ProgramPath();
// The account's temporary folder, as the system writes it (normally with a trailing
// backslash): SYSTEM's own where the system keeps one.
String TemporaryFolder();
// The Windows system folder, without a trailing backslash.
String SystemFolder();
// The user's roaming application data folder (CSIDL_APPDATA), without a trailing backslash.
String AppDataFolder();
// The short (8.3) form of an existing file or folder.
String ShortPathOf(const String& path);

}  // namespace pelorin
