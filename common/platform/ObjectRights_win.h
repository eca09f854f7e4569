#pragma once

#include <string>

#include "FileSystem_win.h"
#include "FolderRights.h"

namespace pelorin {

// The owner and access list of a file or folder, as the system keeps them.
ObjectRights ReadObjectRights(const std::string& path);

// The system's files, with the rights of each read and the folders and image setup holds,
// for the programs that run with administrator rights.
class Win32GuardedFileSystem : public Win32FileSystem {
 public:
  bool OthersCanWrite(const std::string& path) override;
  bool OthersCanMoveAway(const std::string& path) override;
  bool OwnedByRunningAccount(const std::string& path) override;
  FileError HoldFolder(const std::string& path, std::unique_ptr<FolderHold>& hold) override;
  FileError OpenRunningImage(const std::string& path, std::unique_ptr<FileReader>& reader) override;
};

}  // namespace pelorin
