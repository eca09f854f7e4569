#include "FileSystem_win.h"

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <utility>

#include "Concat.h"
#include "SystemError_win.h"
#include "SystemRandom_win.h"
#include "WideText_win.h"

namespace pelorin {

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  // Closes now, reporting whether the system accepted the close.
  bool Close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

class Win32Reader : public FileReader {
 public:
  explicit Win32Reader(HANDLE handle) : file_(handle) {}
  std::uint64_t Size() override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(file_.Get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
  }
  FileError Seek(std::uint64_t offset) override {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_.Get(), to, nullptr, FILE_BEGIN)) return LastFileError();
    return {};
  }
  FileError Read(char* buffer, std::size_t size, std::size_t& got) override {
    DWORD read = 0;
    if (!::ReadFile(file_.Get(), buffer, static_cast<DWORD>(size), &read, nullptr)) return LastFileError();
    got = read;
    return {};
  }

 private:
  FileHandle file_;
};

class Win32Writer : public FileWriter {
 public:
  explicit Win32Writer(HANDLE handle) : file_(handle) {}
  FileError Write(const char* bytes, std::size_t size) override {
    std::size_t written = 0;
    while (written < size) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - written, 1 << 20));
      DWORD done = 0;
      if (!WriteFile(file_.Get(), bytes + written, chunk, &done, nullptr)) return LastFileError();
      if (done == 0) {
        SetLastError(ERROR_DISK_FULL);
        return LastFileError();
      }
      written += done;
    }
    return {};
  }
  FileError Close() override {
    if (!FlushFileBuffers(file_.Get()) || !file_.Close()) return LastFileError();
    return {};
  }

 private:
  FileHandle file_;
};

FILETIME ToFileTime(const FileTime& time) {
  SYSTEMTIME system{};
  system.wYear = static_cast<WORD>(time.year);
  system.wMonth = static_cast<WORD>(time.month);
  system.wDay = static_cast<WORD>(time.day);
  system.wHour = static_cast<WORD>(time.hour);
  system.wMinute = static_cast<WORD>(time.minute);
  system.wSecond = static_cast<WORD>(time.second);
  FILETIME result{};
  SystemTimeToFileTime(&system, &result);
  return result;
}

// Paths are UTF-8 here and UTF-16 at the system; one that is not well-formed UTF-8 becomes
// an empty path, which names no file, never a neighbouring one.
DWORD Attributes(const String& path) { return GetFileAttributesW(Wide(path).c_str()); }

// The call's failure on the path, or none.
FileError OnPath(BOOL(WINAPI* call)(LPCWSTR), const String& path) {
  if (!call(Wide(path).c_str())) return LastFileError();
  return {};
}

FileError OpenReader(const String& path, DWORD sharing, std::unique_ptr<FileReader>& reader) {
  const HANDLE handle =
      CreateFileW(Wide(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastFileError();
  reader = std::make_unique<Win32Reader>(handle);
  return {};
}

// The names of the entries matching `pattern` that are folders (`folders`) or files.
FileError ListEntries(const String& folder, std::string_view pattern, bool folders,
                      std::vector<String>& names) {
  names.clear();
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(Concat({WithTrailingBackslash(folder), pattern})).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    // A folder that exists but holds no match is an empty listing, not a failure.
    if (code == ERROR_FILE_NOT_FOUND && Attributes(folder) != INVALID_FILE_ATTRIBUTES) return {};
    FileError error = LastFileError();
    if (code == ERROR_FILE_NOT_FOUND) error.kind = FileError::Kind::kPathNotFound;
    return error;
  }
  do {
    // A name that has no exact UTF-8 form (a lone surrogate) is left out: any other form
    // would name another file.
    String name;
    if (Utf8FromWide(found.cFileName, name) && name != "." && name != ".." &&
        ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders)
      names.push_back(std::move(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return {};
}

}  // namespace

bool Win32FileSystem::FolderExists(const String& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FileExists(const String& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::IsReparsePoint(const String& path) {
  // With a backslash at its end the system would answer for the link's target.
  const bool slashed = path.size() > 3 && path.back() == '\\';
  const DWORD attributes = Attributes(slashed ? path.substr(0, path.size() - 1) : path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

FileError Win32FileSystem::ListFiles(const String& folder, const String& pattern,
                                     std::vector<String>& names) {
  return ListEntries(folder, pattern, false, names);
}

FileError Win32FileSystem::ListFolders(const String& folder, std::vector<String>& names) {
  return ListEntries(folder, "*", true, names);
}

FileError Win32FileSystem::ReadFile(const String& path, String& bytes) {
  bytes.clear();
  FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return LastFileError();
  char chunk[65536];
  DWORD read = 0;
  do {
    if (!::ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr)) return LastFileError();
    bytes.append(chunk, read);
  } while (read > 0);
  return {};
}

FileError Win32FileSystem::WriteNewFile(const String& path, const String& bytes) {
  const HANDLE handle =
      CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastFileError();
  Win32Writer writer(handle);
  if (FileError error = writer.Write(bytes.data(), bytes.size())) return error;
  return writer.Close();
}

FileError Win32FileSystem::MoveFileOver(const String& from, const String& to) {
  if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return LastFileError();
  return {};
}

FileError Win32FileSystem::ReplaceWithFile(const String& from, const String& to) {
  const DWORD attributes = Attributes(to);
  if (attributes == INVALID_FILE_ATTRIBUTES) return MoveFileOver(from, to);
  // A read-only file is not to be written, as a move over it is refused; the replace, which
  // renames the original first, would not refuse everywhere.
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetLastError(ERROR_ACCESS_DENIED);
    return LastFileError();
  }
  // The original goes to a backup first, named after the unpredictable `from`: without one,
  // a failed last step would leave no original at all.
  const std::wstring source = Wide(from), target = Wide(to), backup = Wide(from + ".old");
  if (::ReplaceFileW(target.c_str(), source.c_str(), backup.c_str(), REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)) {
    DeleteFileW(backup.c_str());
    return {};
  }
  FileError error = LastFileError();
  // The new file could not take the name after the original had become the backup: the
  // original goes back; where even that fails, the error says where it is.
  if (error.systemCode != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 ||
      MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
    return error;
  if (CopyFileW(backup.c_str(), target.c_str(), TRUE) && DeleteFileW(backup.c_str())) return error;
  error.note = "the new file could not take the name, and the original could not be put back: it is kept "
               "beside it, under the temporary file's name with \".old\" added";
  return error;
}

std::uint64_t Win32FileSystem::RandomNumber() { return SystemRandomNumber(); }

FileError Win32FileSystem::OpenForReading(const String& path, std::unique_ptr<FileReader>& reader) {
  return OpenReader(path, FILE_SHARE_READ | FILE_SHARE_WRITE, reader);
}

FileError Win32FileSystem::OpenForWriting(const String& path, bool append,
                                          std::unique_ptr<FileWriter>& writer) {
  HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              append ? OPEN_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastFileError();
  if (append && SetFilePointer(handle, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    FileError error = LastFileError();
    CloseHandle(handle);
    return error;
  }
  writer = std::make_unique<Win32Writer>(handle);
  return {};
}

FileError Win32FileSystem::LastWriteTime(const String& path, FileTime& time) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  SYSTEMTIME utc{};
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) ||
      !FileTimeToSystemTime(&data.ftLastWriteTime, &utc))
    return LastFileError();
  time = {utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond};
  return {};
}

FileError Win32FileSystem::SetFileTimes(const String& path, const FileTime& time) {
  FileHandle file(CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return LastFileError();
  const FILETIME stamp = ToFileTime(time);
  if (!SetFileTime(file.Get(), &stamp, &stamp, &stamp)) return LastFileError();
  return {};
}

FileError Win32FileSystem::CreateFolder(const String& path) {
  if (!CreateDirectoryW(Wide(path).c_str(), nullptr)) return LastFileError();
  return {};
}

FileError Win32FileSystem::CreateFolderWithRights(const String& path, const String& rightsText) {
  // The system's own parser of the rights text; never a folder without them.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(rightsText.c_str(), SDDL_REVISION_1, &descriptor,
                                                            nullptr))
    return LastFileError();
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  const BOOL made = CreateDirectoryW(Wide(path).c_str(), &attributes);
  const DWORD code = GetLastError();
  LocalFree(descriptor);
  SetLastError(code);
  if (!made) return LastFileError();
  return {};
}

FileError Win32FileSystem::RemoveFolder(const String& path) { return OnPath(RemoveDirectoryW, path); }

FileError Win32FileSystem::RemoveFile(const String& path) { return OnPath(DeleteFileW, path); }

FileError Win32FileSystem::MakeWritable(const String& path) {
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastFileError();
  if ((attributes & FILE_ATTRIBUTE_READONLY) && !SetFileAttributesW(Wide(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
    return LastFileError();
  return {};
}

FileError Win32FileSystem::OpenLocked(const String& path, std::unique_ptr<FileReader>& reader) {
  // Others may read, but not write, rename or delete the file while it is open.
  return OpenReader(path, FILE_SHARE_READ, reader);
}

}  // namespace pelorin
