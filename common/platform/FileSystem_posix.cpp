#include "FileSystem_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pelorin {

namespace {

std::string Native(std::string path) {
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
  error.message = std::strerror(code);
  return error;
}

template <class Accept>
FileError ListEntries(const std::string& folder, Accept accept, std::vector<std::string>& names) {
  names.clear();
  DIR* directory = opendir(Native(folder).c_str());
  if (directory == nullptr) return ErrorOf(errno);
  while (dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (stat((Native(WithTrailingBackslash(folder)) + name).c_str(), &info) != 0) continue;
    if (accept(name, info)) names.push_back(name);
  }
  closedir(directory);
  std::sort(names.begin(), names.end());
  return {};
}

}  // namespace

bool MatchesWildcard(const std::string& name, const std::string& pattern) {
  std::size_t n = 0, p = 0, star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || std::tolower(static_cast<unsigned char>(pattern[p])) ==
                                  std::tolower(static_cast<unsigned char>(name[n])))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool PosixFileSystem::FolderExists(const std::string& path) {
  struct stat info {};
  return stat(Native(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PosixFileSystem::FileExists(const std::string& path) {
  struct stat info {};
  return stat(Native(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

FileError PosixFileSystem::ListFiles(const std::string& folder, const std::string& pattern,
                                     std::vector<std::string>& names) {
  return ListEntries(
      folder,
      [&](const std::string& name, const struct stat& info) {
        return S_ISREG(info.st_mode) && MatchesWildcard(name, pattern);
      },
      names);
}

FileError PosixFileSystem::ListFolders(const std::string& folder, std::vector<std::string>& names) {
  return ListEntries(
      folder, [](const std::string&, const struct stat& info) { return S_ISDIR(info.st_mode); },
      names);
}

FileError PosixFileSystem::ReadFile(const std::string& path, std::string& bytes) {
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

FileError PosixFileSystem::WriteNewFile(const std::string& path, const std::string& bytes) {
  const int descriptor = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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

FileError PosixFileSystem::MoveFileOver(const std::string& from, const std::string& to) {
  if (std::rename(Native(from).c_str(), Native(to).c_str()) != 0) return ErrorOf(errno);
  return {};
}

FileError PosixFileSystem::RemoveFile(const std::string& path) {
  if (unlink(Native(path).c_str()) != 0) return ErrorOf(errno);
  return {};
}

}  // namespace pelorin
