#pragma once

#include "Str.h"

#include "FileSystem_win.h"
#include "FolderRights.h"

namespace pelorin {

// The owner and access list of a file or folder, as the system keeps them.
ObjectRights ReadObjectRights(const String& path);

// The system's files, with the rights of each read and the folders and image setup holds,
// for the programs that run with administrator rights.
class Win32GuardedFileSystem : public Win32FileSystem {
 public:
  bool OthersCanWrite(const String& path) override;
  bool OthersCanMoveAway(const String& path) override;
  bool OwnedByRunningAccount(const String& path) override;
  FileError HoldFolder(const String& path, std::unique_ptr<FolderHold>& hold) override;
  FileError OpenRunningImage(const String& path, std::unique_ptr<FileReader>& reader) override;
};

}  // namespace pelorin
