#pragma once

#include <memory>
#include <string>
#include <vector>

#include "FilePack.h"
#include "FileSystem.h"
#include "SetupData.h"

namespace pelorin {

// The files that setup keeps in the folder of its own under the temporary folder.
struct SetupFiles {
  std::string folder;       // ends in a backslash
  std::string packList;     // the pack list copy
  std::string packData;     // the pack data copy
  std::string info;
  std::string shortcuts;
  std::string licence;
  std::string readme;
  std::string sidePicture;
};

SetupFiles SetupFilesIn(const std::string& folder);

inline constexpr char kSetupFolderPrefix[] = "PelorinSetup-";

// Makes this run's own folder under `tempFolder` (CreatePrivateFolder): never one that exists
// already or is a link elsewhere, and one only this account and the administrators may
// change. The last failure when none could be made.
FileError CreateSetupFolder(FileSystem& files, const std::string& tempFolder, const PrivateFolderSource& source,
                            SetupFiles& setup);

// Deletes what setup put into its folder, then the folder; the pack copies must be closed.
void RemoveSetupFolder(FileSystem& files, const SetupFiles& setup);

enum class UnpackResult { kReady, kCorrupt, kMissingData };

struct UnpackOutcome {
  UnpackResult result = UnpackResult::kCorrupt;
  SetupInfo info;
  std::vector<std::string> shortcuts;
  PackList list;  // read and checked once; the install works from these records
  // The pack copies, held open until the install ends so that no one can change them.
  std::unique_ptr<FileReader> listCopy;
  std::unique_ptr<FileReader> dataCopy;
};

// Finds the trailer at the end of `programPath`, copies the pack list and data into the
// setup folder (made before), checks the list, extracts every setup data item beside them
// and reads the setup information and the shortcut list. Setup information without an
// application name is corrupt.
UnpackOutcome UnpackSetupData(FileSystem& files, const std::string& programPath, const SetupFiles& setup);

// Deletes the extracted setup data items once the wizard has taken them.
void RemoveSetupDataFiles(FileSystem& files, const SetupFiles& setup);

}  // namespace pelorin
