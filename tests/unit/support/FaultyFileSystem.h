#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "FileSystem_posix.h"

namespace pelorin::testing {

// Real files, with failures the tests ask for. The tests run as root, for whom read-only
// files and folders are writable, so refusals are made here: a read-only file cannot be
// replaced or deleted, an unwritable folder takes no new file or folder, and a full disk takes a write
// only halfway (everywhere, or for the files named).
class FaultyFileSystem : public PosixFileSystem {
 public:
  std::set<String> readOnlyFiles;
  std::set<String> inUseFiles;  // held open by another program: not even opened
  std::set<String> unwritableFolders;
  std::set<String> unholdableFolders;  // folders another program holds open
  std::set<String> fullDiskFiles;  // files whose writes find the disk full
  bool diskFull = false;
  bool replaceFails = false;
  // Listings of existing folders fail with path not found, as past the path length limit.
  bool listingNotFound = false;
  int listings = 0;
  // Files whose short 8.3 alias ends in ".CFG", which a "*.cfg" listing returns on Windows.
  std::set<String> cfgAliases;
  std::set<String> openToOthers;  // files and folders other accounts can change
  std::map<String, String> folderRights;  // the rights each folder was made with

  std::set<String> movableByOthers;  // folders other accounts can rename or re-permit
  std::set<String> notOwned;  // files and folders of another owner than the running account

  bool OthersCanWrite(const String& path) override { return openToOthers.count(path) != 0; }
  bool OthersCanMoveAway(const String& path) override { return movableByOthers.count(path) != 0; }
  bool OwnedByRunningAccount(const String& path) override { return notOwned.count(path) == 0; }
  FileError CreateFolderWithRights(const String& path, const String& rights) override {
    folderRights[path] = rights;
    return CreateFolder(path);
  }

  FileError ListFiles(const String& folder, const String& pattern,
                      std::vector<String>& names) override {
    if (FileError error = PosixFileSystem::ListFiles(folder, pattern, names)) return error;
    for (const String& alias : cfgAliases)
      if (pattern == "*.cfg" && FolderOf(alias) == folder.substr(0, folder.find_last_not_of("\\") + 1))
        names.push_back(alias.substr(alias.rfind('\\') + 1));
    return {};
  }

  FileError ListFolders(const String& folder, std::vector<String>& names) override {
    // A caller that keeps retrying gets another error at last, so a test fails, not hangs.
    if (listingNotFound) return ++listings > 50 ? FileError{FileError::Kind::kOther, 0, "retried"} : NotFound();
    return PosixFileSystem::ListFolders(folder, names);
  }

  FileError ReadFile(const String& path, String& bytes) override {
    if (inUseFiles.count(path)) return InUse();
    return PosixFileSystem::ReadFile(path, bytes);
  }

  FileError WriteNewFile(const String& path, const String& bytes) override {
    if (readOnlyFiles.count(path) || unwritableFolders.count(FolderOf(path))) return Denied();
    if (diskFull) {
      PosixFileSystem::WriteNewFile(path, bytes.substr(0, bytes.size() / 2));
      return {FileError::Kind::kDiskFull, 28, "No space left on device"};
    }
    return PosixFileSystem::WriteNewFile(path, bytes);
  }
  FileError MoveFileOver(const String& from, const String& to) override {
    if (replaceFails || readOnlyFiles.count(to) || unwritableFolders.count(FolderOf(to))) return Denied();
    return PosixFileSystem::MoveFileOver(from, to);
  }
  FileError OpenForWriting(const String& path, bool append,
                           std::unique_ptr<FileWriter>& writer) override {
    if (inUseFiles.count(path)) return InUse();
    if (readOnlyFiles.count(path) || unwritableFolders.count(FolderOf(path))) return Denied();
    if (FileError error = PosixFileSystem::OpenForWriting(path, append, writer)) return error;
    if (diskFull || fullDiskFiles.count(path)) writer = std::make_unique<FullDiskWriter>(std::move(writer));
    return {};
  }
  FileError CreateFolder(const String& path) override {
    if (unwritableFolders.count(FolderOf(path))) return Denied();
    return PosixFileSystem::CreateFolder(path);
  }
  FileError HoldFolder(const String& path, std::unique_ptr<FolderHold>& hold) override {
    if (unholdableFolders.count(path)) return InUse();
    return PosixFileSystem::HoldFolder(path, hold);
  }
  FileError RemoveFile(const String& path) override {
    if (readOnlyFiles.count(path) || unwritableFolders.count(FolderOf(path))) return Denied();
    return PosixFileSystem::RemoveFile(path);
  }

 private:
  // Takes the first write, then finds the disk full.
  class FullDiskWriter : public FileWriter {
   public:
    explicit FullDiskWriter(std::unique_ptr<FileWriter> inner) : inner_(std::move(inner)) {}
    FileError Write(const char* bytes, std::size_t size) override {
      if (written_++ == 0) return inner_->Write(bytes, size / 2);
      return {FileError::Kind::kDiskFull, 28, "No space left on device"};
    }
    FileError Close() override { return inner_->Close(); }

   private:
    std::unique_ptr<FileWriter> inner_;
    int written_ = 0;
  };

  static String FolderOf(const String& path) { return path.substr(0, path.rfind('\\')); }
  static FileError NotFound() { return {FileError::Kind::kPathNotFound, 3, "The path was not found"}; }
  static FileError InUse() { return {FileError::Kind::kAccessDenied, 32, "The file is used by another process"}; }
  static FileError Denied() { return {FileError::Kind::kAccessDenied, 13, "Permission denied"}; }
};

}  // namespace pelorin::testing
