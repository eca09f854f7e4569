#pragma once

#include <windows.h>

#include "Str.h"

#include "FileSystem.h"

namespace pelorin {

// The system's text for an error code, without its line end.
String SystemErrorText(DWORD code);

// A FileError for the calling thread's last error.
FileError LastFileError();

}  // namespace pelorin
