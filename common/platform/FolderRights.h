#pragma once

#include <cstdint>
#include "Str.h"
#include <vector>

#include "FileSystem.h"
#include "InstallScope.h"

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
String FolderRightsText(FolderUse use, const String& userSid);

// Whether an object whose owner is `ownerSid` was made by SYSTEM, the Administrators or the
// running account (`runningSid`), so that it may hold this program back; another account's
// counts as not there. An owner the system does not tell (empty) counts: this program could
// open the object, and Windows grants that only with the right to read its owner.
bool IsOwnedByTrustedAccount(const String& ownerSid, const String& runningSid);

// One entry of an object's access list as the system keeps it; the rights are the
// system's access mask bits.
struct AccessEntry {
  String sid;
  bool allow = true;
  std::uint32_t mask = 0;
  bool inheritOnly = false;  // only handed down to what is made inside, no right on the object
  bool toFiles = false;      // handed down to the files made inside (object inherit)
};

// An object's owner and access list.
struct ObjectRights {
  bool readable = false;  // false: the system would not tell
  bool noList = false;    // no access list at all, which lets everyone do anything
  String ownerSid;
  std::vector<AccessEntry> entries;
};

// Whether an account other than SYSTEM, the Administrators, TrustedInstaller and the running
// account (`runningSid`) may change the object: write or add files, add folders, delete it
// or its contents, or change its rights or owner. Rights that cannot be read count as
// open to others; so does an owner of another account, which may always change the rights,
// unless an OWNER RIGHTS entry says what the owner may do. Entries are taken in order, so a
// denial before an allowance takes its rights away. Entries handed down to files count as
// well: every file written into the folder gets them.
bool OthersCanWrite(const ObjectRights& rights, const String& runningSid);

// Whether an account other than those may take the object out of a path: delete or rename
// it or anything in it, or change its rights or owner. Adding to it is harmless: whatever
// appears below is judged where it is used. A drive's root cannot be deleted, whatever its
// list says (a data drive's lets every user modify it).
bool OthersCanMoveAway(const ObjectRights& rights, const String& runningSid, bool driveRoot = false);

// Whether the object is the running account's own: it owns it, or SYSTEM or the
// Administrators do (as with the folders of a user's profile) and the account itself may add
// to it by an entry of its own, which no folder of the machine's gives a single user.
bool IsAccountsOwn(const ObjectRights& rights, const String& runningSid);

// Why `path` may not hold programs that run as `scope` asks, or null where it may. Each
// existing folder from the drive root down (the root included) must be no link or junction
// and such that no other account can move it away (OthersCanMoveAway), or a protected
// folder below could be swapped for another; `path` itself, where it exists, must be one
// that no other account can change at all (OthersCanWrite). For the running account alone,
// the deepest existing folder must be its own as well, not a folder of the machine's.
const char* InstallPathProblem(FileSystem& files, const String& path, InstallScope scope);

// The install folder's path as setup holds it while it installs.
struct HeldPath {
  std::vector<std::unique_ptr<FolderHold>> holds;
  std::vector<String> created;  // the folders made, top first
  const char* problem = nullptr;     // why the path is refused once held (InstallPathProblem)
  String unheld;                // the folder that could not be held, when that failed
};

// Makes each missing folder of `path` (a full path without a trailing backslash) with
// `rightsText`, from the root down, and holds every folder of it (FileSystem::HoldFolder), so
// that none can be swapped for another until `held` goes; then judges the whole path as it
// now stands (InstallPathProblem). A folder that someone else made meanwhile is judged like
// any other. Returns the failure to make or hold a folder; `held.unheld` names a folder that
// could not be held.
FileError HoldInstallPath(FileSystem& files, const String& path, InstallScope scope,
                            const String& rightsText, HeldPath& held);

// Whether the program at `path` may be started with this run's administrator rights:
// a file, no link, in a folder that passes InstallPathProblem for the machine, and itself
// unchangeable by others; else whoever could change it would run their code as an
// administrator.
bool MayStartElevated(FileSystem& files, const String& path);

// A folder name that another account cannot guess ahead: `prefix` and 16 hex digits of
// `randomNumber`, which must come from the system's cryptographic generator.
String UnpredictableName(const String& prefix, std::uint64_t randomNumber);

}  // namespace pelorin
