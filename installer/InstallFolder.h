#pragma once

#include <string>

#include "FileSystem.h"
#include "Registry.h"
#include "SetupData.h"

namespace pelorin {

inline constexpr char kDefaultInstallRoot[] = "C:\\Program Files\\";

// The install folder that the wizard proposes and a quiet run uses: the setup information's
// fixed path when it has one; else the folder of an earlier install of the same application,
// when its removal registration names one that still holds the install log, so that an
// upgrade lands on it; else the maker's folder under Program Files. No trailing backslash.
std::string ProposedInstallPath(FileSystem& files, Registry& registry, const SetupInfo& info);

}  // namespace pelorin
