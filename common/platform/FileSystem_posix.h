#pragma once

#include "CodePage1252.h"
#include "FileSystem.h"

namespace pelorin {

// Files on a POSIX system; backslashes in paths are taken as slashes.
class PosixFileSystem : public FileSystem {
 public:
  bool FolderExists(const String& path) override;
  bool FileExists(const String& path) override;
  bool IsReparsePoint(const String& path) override;
  FileError ListFiles(const String& folder, const String& pattern,
                      std::vector<String>& names) override;
  FileError ListFolders(const String& folder, std::vector<String>& names) override;
  FileError ReadFile(const String& path, String& bytes) override;
  FileError WriteNewFile(const String& path, const String& bytes) override;
  FileError MoveFileOver(const String& from, const String& to) override;
  std::uint64_t RandomNumber() override;
  const AnsiCodePage& TextCodePage() override { return codePage_; }
  FileError RemoveFile(const String& path) override;
  FileError OpenForReading(const String& path, std::unique_ptr<FileReader>& reader) override;
  FileError OpenForWriting(const String& path, bool append,
                           std::unique_ptr<FileWriter>& writer) override;
  FileError LastWriteTime(const String& path, FileTime& time) override;
  FileError SetFileTimes(const String& path, const FileTime& time) override;
  FileError CreateFolder(const String& path) override;
  FileError RemoveFolder(const String& path) override;

 private:
  CodePage1252 codePage_;
};

// A case-insensitive match of `name` against a pattern of '*' and '?' wildcards.
bool MatchesWildcard(const String& name, const String& pattern);

}  // namespace pelorin
