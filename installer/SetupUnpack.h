#pragma once

#include <string>
#include <vector>

#include "FilePack.h"
#include "FileSystem.h"
#include "SetupData.h"

namespace pelorin {

// The files that setup keeps in its temporary folder.
struct SetupFiles {
  std::string folder;       // ends in "SetupTemp\"
  std::string packList;     // the pack list copy
  std::string packData;     // the pack data copy
  std::string info;
  std::string shortcuts;
  std::string licence;
  std::string readme;
  std::string sidePicture;
};

SetupFiles SetupFilesIn(const std::string& tempFolder);

enum class UnpackResult { kReady, kCorrupt, kMissingData };

struct UnpackOutcome {
  UnpackResult result = UnpackResult::kCorrupt;
  SetupInfo info;
  std::vector<std::string> shortcuts;
};

// Finds the trailer at the end of `programPath`, copies the pack list and data into the
// temporary folder (made first), extracts the setup data items beside them and reads the
// setup information and the shortcut list.
UnpackOutcome UnpackSetupData(FileSystem& files, PackUi& ui, const std::string& programPath,
                              const SetupFiles& setup);

// Deletes the extracted setup data items once the wizard has taken them.
void RemoveSetupDataFiles(FileSystem& files, const SetupFiles& setup);

// Deletes the pack copies at the end of the run; the temporary folder stays.
void RemovePackCopies(FileSystem& files, const SetupFiles& setup);

}  // namespace pelorin
