#pragma once

#include "AnsiCodePage_win.h"
#include "FileSystem.h"

namespace pelorin {

class Win32FileSystem : public FileSystem {
 public:
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool IsReparsePoint(const std::string& path) override;
  FileError ListFiles(const std::string& folder, const std::string& pattern,
                      std::vector<std::string>& names) override;
  FileError ListFolders(const std::string& folder, std::vector<std::string>& names) override;
  FileError ReadFile(const std::string& path, std::string& bytes) override;
  FileError WriteNewFile(const std::string& path, const std::string& bytes) override;
  FileError MoveFileOver(const std::string& from, const std::string& to) override;
  FileError ReplaceWithFile(const std::string& from, const std::string& to) override;
  std::uint64_t RandomNumber() override;
  const AnsiCodePage& TextCodePage() override { return codePage_; }
  FileError RemoveFile(const std::string& path) override;
  FileError MakeWritable(const std::string& path) override;
  FileError OpenForReading(const std::string& path, std::unique_ptr<FileReader>& reader) override;
  FileError OpenLocked(const std::string& path, std::unique_ptr<FileReader>& reader) override;
  FileError OpenForWriting(const std::string& path, bool append,
                           std::unique_ptr<FileWriter>& writer) override;
  FileError LastWriteTime(const std::string& path, FileTime& time) override;
  FileError SetFileTimes(const std::string& path, const FileTime& time) override;
  FileError CreateFolder(const std::string& path) override;
  FileError CreateFolderWithRights(const std::string& path, const std::string& rightsText) override;
  FileError RemoveFolder(const std::string& path) override;

 private:
  Win32AnsiCodePage codePage_;
};

}  // namespace pelorin
