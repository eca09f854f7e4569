#pragma once

#include <windows.h>

#include <string>

#include "FileSystem.h"

namespace pelorin {

// The system's text for an error code, without its line end.
std::string SystemErrorText(DWORD code);

// A FileError for the calling thread's last error.
FileError LastFileError();

}  // namespace pelorin
