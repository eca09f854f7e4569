#pragma once

#include <string>
#include <vector>

namespace pelorin {

// What went wrong in a file operation, kept with the system's own number so that a report
// in any language can be read. An empty message means success.
struct FileError {
  enum class Kind { kNone, kPathNotFound, kFileNotFound, kAccessDenied, kDiskFull, kOther };
  Kind kind = Kind::kNone;
  unsigned long systemCode = 0;
  std::string message;

  explicit operator bool() const { return kind != Kind::kNone; }
};

// The files and folders the programs touch. Paths are Windows paths (backslashes); the
// POSIX implementation maps them onto its own.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Names (not paths) of the files in `folder` matching a wildcard pattern such as "*.cfg",
  // compared without regard to case.
  virtual FileError ListFiles(const std::string& folder, const std::string& pattern,
                              std::vector<std::string>& names) = 0;
  // Names of the immediate subfolders of `folder`, without "." and "..".
  virtual FileError ListFolders(const std::string& folder, std::vector<std::string>& names) = 0;
  virtual FileError ReadFile(const std::string& path, std::string& bytes) = 0;
  // Creates or truncates `path` and writes `bytes`; the file is complete when this succeeds.
  virtual FileError WriteNewFile(const std::string& path, const std::string& bytes) = 0;
  // Moves `from` over `to`, replacing it in one step; on failure `to` is as it was.
  virtual FileError MoveFileOver(const std::string& from, const std::string& to) = 0;
  virtual FileError RemoveFile(const std::string& path) = 0;
};

// Replaces the contents of `path` safely: writes `path` + ".tmp" beside it, then moves it
// over the original. On any failure the original keeps its bytes and no ".tmp" stays.
FileError ReplaceFileContents(FileSystem& files, const std::string& path, const std::string& bytes);

// `folder` with one backslash at its end.
std::string WithTrailingBackslash(const std::string& folder);

}  // namespace pelorin
