#pragma once

#include <cstdint>
#include <string>

namespace pelorin {

// Who may do what in a folder a program makes, as the system's security descriptor text
// (SDDL). Each list is protected: nothing is inherited from the parent, whose rights (the
// temporary folder's or a drive root's) let every user add files.
enum class FolderUse {
  kPrivate,  // a run's own working folder: SYSTEM, Administrators and the running account
  kInstall,  // an install folder, as Program Files: SYSTEM and Administrators full, Users read
};

// `userSid` is the running account's security identifier in text ("S-1-5-21-..."); empty
// when it could not be had, then only SYSTEM and Administrators are named.
std::string FolderRightsText(FolderUse use, const std::string& userSid);

// Whether an object whose owner is `ownerSid` was made by SYSTEM, the Administrators or the
// running account (`runningSid`), so that it may hold this program back; another account's
// counts as not there. An owner the system does not tell (empty) counts: this program could
// open the object, and Windows grants that only with the right to read its owner.
bool IsOwnedByTrustedAccount(const std::string& ownerSid, const std::string& runningSid);

// A folder name that another account cannot guess ahead: `prefix` and 16 hex digits of
// `randomNumber`, which must come from the system's cryptographic generator.
std::string UnpredictableName(const std::string& prefix, std::uint64_t randomNumber);

}  // namespace pelorin
