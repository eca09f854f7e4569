#include "SystemError_win.h"

#include "DecimalText.h"
#include "WideText_win.h"

namespace pelorin {

String SystemErrorText(DWORD code) {
  // The system's text comes in its own language, which the ANSI code page may not hold.
  wchar_t buffer[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, buffer, sizeof(buffer) / sizeof(buffer[0]), nullptr);
  while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' ||
                        buffer[length - 1] == L' ' || buffer[length - 1] == L'.'))
    --length;
  const String text = Utf8(std::wstring_view(buffer, length));
  if (text.empty()) return "System error " + WholeNumberText(code);
  return text;
}

FileError LastFileError() {
  const DWORD code = GetLastError();
  FileError error;
  switch (code) {
    case ERROR_FILE_NOT_FOUND: error.kind = FileError::Kind::kFileNotFound; break;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: error.kind = FileError::Kind::kPathNotFound; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: error.kind = FileError::Kind::kAccessDenied; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: error.kind = FileError::Kind::kDiskFull; break;
    default: error.kind = FileError::Kind::kOther; break;
  }
  error.systemCode = code;
  return error;
}

String FileErrorText(const FileError& error) {
  return error.note != nullptr ? error.note : SystemErrorText(error.systemCode);
}

}  // namespace pelorin
