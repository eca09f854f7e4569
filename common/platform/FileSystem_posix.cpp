#include "FileSystem_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace pelorin {

namespace {

String Native(String path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

FileError ErrorOf(int code) {
  FileError error;
  switch (code) {
    case ENOENT: error.kind = FileError::Kind::kPathNotFound; break;
    case EACCES:
    case EPERM:
    case EROFS: error.kind = FileError::Kind::kAccessDenied; break;
    case ENOSPC: error.kind = FileError::Kind::kDiskFull; break;
    default: error.kind = FileError::Kind::kOther; break;
  }
  error.systemCode = static_cast<unsigned long>(code);
  return error;
}

template <class Accept>
FileError ListEntries(const String& folder, Accept accept, std::vector<String>& names) {
  names.clear();
  DIR* directory = opendir(Native(folder).c_str());
  if (directory == nullptr) return ErrorOf(errno);
  while (dirent* entry = readdir(directory)) {
    const String name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (stat((Native(WithTrailingBackslash(folder)) + name).c_str(), &info) != 0) continue;
    if (accept(name, info)) names.push_back(name);
  }
  closedir(directory);
  std::sort(names.begin(), names.end());
  return {};
}

class PosixReader : public FileReader {
 public:
  explicit PosixReader(int descriptor) : descriptor_(descriptor) {}
  ~PosixReader() override { close(descriptor_); }
  std::uint64_t Size() override {
    struct stat info {};
    return fstat(descriptor_, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  }
  FileError Seek(std::uint64_t offset) override {
    if (lseek(descriptor_, static_cast<off_t>(offset), SEEK_SET) < 0) return ErrorOf(errno);
    return {};
  }
  FileError Read(char* buffer, std::size_t size, std::size_t& got) override {
    const ssize_t n = read(descriptor_, buffer, size);
    if (n < 0) return ErrorOf(errno);
    got = static_cast<std::size_t>(n);
    return {};
  }

 private:
  int descriptor_;
};

class PosixWriter : public FileWriter {
 public:
  explicit PosixWriter(int descriptor) : descriptor_(descriptor) {}
  ~PosixWriter() override {
    if (descriptor_ >= 0) close(descriptor_);
  }
  FileError Write(const char* bytes, std::size_t size) override {
    std::size_t written = 0;
    while (written < size) {
      const ssize_t n = write(descriptor_, bytes + written, size - written);
      if (n <= 0) return ErrorOf(n < 0 ? errno : ENOSPC);
      written += static_cast<std::size_t>(n);
    }
    return {};
  }
  FileError Close() override {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (fsync(descriptor) != 0) {
      const int code = errno;
      close(descriptor);
      return ErrorOf(code);
    }
    if (close(descriptor) != 0) return ErrorOf(errno);
    return {};
  }

 private:
  int descriptor_;
};

}  // namespace

bool MatchesWildcard(const String& name, const String& pattern) {
  std::size_t n = 0, p = 0, star = String::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || std::tolower(static_cast<unsigned char>(pattern[p])) ==
                                  std::tolower(static_cast<unsigned char>(name[n])))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != String::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool PosixFileSystem::FolderExists(const String& path) {
  struct stat info {};
  return stat(Native(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PosixFileSystem::FileExists(const String& path) {
  struct stat info {};
  return stat(Native(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PosixFileSystem::IsReparsePoint(const String& path) {
  struct stat info {};
  return lstat(Native(path).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

FileError PosixFileSystem::ListFiles(const String& folder, const String& pattern,
                                     std::vector<String>& names) {
  return ListEntries(
      folder,
      [&](const String& name, const struct stat& info) {
        return S_ISREG(info.st_mode) && MatchesWildcard(name, pattern);
      },
      names);
}

FileError PosixFileSystem::ListFolders(const String& folder, std::vector<String>& names) {
  return ListEntries(
      folder, [](const String&, const struct stat& info) { return S_ISDIR(info.st_mode); },
      names);
}

FileError PosixFileSystem::ReadFile(const String& path, String& bytes) {
  bytes.clear();
  const int descriptor = open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return ErrorOf(errno);
  char chunk[65536];
  for (;;) {
    const ssize_t n = read(descriptor, chunk, sizeof(chunk));
    if (n < 0) {
      const int code = errno;
      close(descriptor);
      return ErrorOf(code);
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  close(descriptor);
  return {};
}

FileError PosixFileSystem::WriteNewFile(const String& path, const String& bytes) {
  const int descriptor = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (descriptor < 0) return ErrorOf(errno);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(descriptor, bytes.data() + written, bytes.size() - written);
    if (n <= 0) {
      const int code = n < 0 ? errno : ENOSPC;
      close(descriptor);
      return ErrorOf(code);
    }
    written += static_cast<std::size_t>(n);
  }
  if (fsync(descriptor) != 0 || close(descriptor) != 0) return ErrorOf(errno);
  return {};
}

FileError PosixFileSystem::MoveFileOver(const String& from, const String& to) {
  if (std::rename(Native(from).c_str(), Native(to).c_str()) != 0) return ErrorOf(errno);
  return {};
}

std::uint64_t PosixFileSystem::RandomNumber() {
  std::uint64_t number = 0;
  if (getrandom(&number, sizeof(number), 0) != static_cast<ssize_t>(sizeof(number))) return 0;
  return number;
}

FileError PosixFileSystem::OpenForReading(const String& path, std::unique_ptr<FileReader>& reader) {
  const int descriptor = open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return ErrorOf(errno);
  reader = std::make_unique<PosixReader>(descriptor);
  return {};
}

FileError PosixFileSystem::OpenForWriting(const String& path, bool append,
                                          std::unique_ptr<FileWriter>& writer) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_EXCL);
  const int descriptor = open(Native(path).c_str(), flags, 0644);
  if (descriptor < 0) return ErrorOf(errno);
  writer = std::make_unique<PosixWriter>(descriptor);
  return {};
}

FileError PosixFileSystem::LastWriteTime(const String& path, FileTime& time) {
  struct stat info {};
  if (stat(Native(path).c_str(), &info) != 0) return ErrorOf(errno);
  std::tm utc{};
  gmtime_r(&info.st_mtime, &utc);
  time = {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
  return {};
}

FileError PosixFileSystem::SetFileTimes(const String& path, const FileTime& time) {
  std::tm utc{};
  utc.tm_year = time.year - 1900;
  utc.tm_mon = time.month - 1;
  utc.tm_mday = time.day;
  utc.tm_hour = time.hour;
  utc.tm_min = time.minute;
  utc.tm_sec = time.second;
  const timespec stamp{timegm(&utc), 0};
  const timespec both[2] = {stamp, stamp};
  if (utimensat(AT_FDCWD, Native(path).c_str(), both, 0) != 0) return ErrorOf(errno);
  return {};
}

FileError PosixFileSystem::CreateFolder(const String& path) {
  if (mkdir(Native(path).c_str(), 0755) != 0) return ErrorOf(errno);
  return {};
}

FileError PosixFileSystem::RemoveFolder(const String& path) {
  if (rmdir(Native(path).c_str()) != 0) return ErrorOf(errno);
  return {};
}

FileError PosixFileSystem::RemoveFile(const String& path) {
  if (unlink(Native(path).c_str()) != 0) return ErrorOf(errno);
  return {};
}

String FileErrorText(const FileError& error) {
  return error.note != nullptr ? error.note : std::strerror(static_cast<int>(error.systemCode));
}

}  // namespace pelorin
