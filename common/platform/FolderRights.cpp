#include "FolderRights.h"

#include "Concat.h"

namespace pelorin {

namespace {

constexpr char kSystem[] = "S-1-5-18";
constexpr char kAdministrators[] = "S-1-5-32-544";
constexpr char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr char kOwnerRights[] = "S-1-3-4";
constexpr char kEveryone[] = "S-1-1-0";
constexpr char kCreatorOwner[] = "S-1-3-0";

// The generic rights as what they grant on a file or folder.
constexpr std::uint32_t kGenericAll = 0x10000000, kGenericWrite = 0x40000000;
constexpr std::uint32_t kFileAll = 0x1F01FF, kFileWrite = 0x120116;
// Write data or add a file, append or add a folder, delete a child, delete, change the
// rights, take ownership.
constexpr std::uint32_t kChanging = 0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000;
// Delete a child, delete, change the rights, take ownership: what takes a folder out of a path.
constexpr std::uint32_t kMovingAway = 0x40 | 0x10000 | 0x40000 | 0x80000;

std::uint32_t Specific(std::uint32_t mask) {
  if (mask & kGenericAll) mask |= kFileAll;
  if (mask & kGenericWrite) mask |= kFileWrite;
  return mask;
}

}  // namespace

String FolderRightsText(FolderUse use, const String& userSid) {
  // Protected from inheriting; each entry object and container inherit, so that files and
  // folders made inside get the same: full access for SYSTEM and the Administrators group.
  constexpr std::string_view kAdminsFull = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
  // Read and execute for the users.
  if (use == FolderUse::kInstall) return "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
  // SYSTEM and the Administrators group are named already; an account SID never starts
  // with anything but "S-", so nothing else can slip into the text.
  if (userSid.starts_with("S-1-") && userSid != kSystem && userSid != kAdministrators &&
      userSid.find_first_not_of("S0123456789-") == String::npos)
    return Concat({kAdminsFull, "(A;OICI;FA;;;", userSid, ")"});
  return kAdminsFull;
}

bool IsOwnedByTrustedAccount(const String& ownerSid, const String& runningSid) {
  return ownerSid.empty() || (ownerSid == kSystem || ownerSid == kAdministrators || ownerSid == runningSid);
}

namespace {

bool IsTrustedAccount(const String& sid, const String& runningSid) {
  return sid == kSystem || sid == kAdministrators || sid == kTrustedInstaller || (!runningSid.empty() && sid == runningSid);
}

// Whether an entry that bears on the object itself, or with `inFiles` on a file made inside
// it, lets an untrusted account do any of `rights`. Entries are taken in order, so a denial
// before an allowance takes its rights away.
bool AnyOtherGrant(const ObjectRights& rights, const String& runningSid, std::uint32_t wanted, bool inFiles) {
  const auto applies = [&](const AccessEntry& entry) { return inFiles ? entry.toFiles : !entry.inheritOnly; };
  const auto trustee = [&](const AccessEntry& entry) -> const String& {
    return entry.sid == kOwnerRights && !inFiles ? rights.ownerSid : entry.sid;
  };
  const auto trusted = [&](const AccessEntry& entry) {
    // On a file made inside, CREATOR OWNER and OWNER RIGHTS stand for its maker: this run.
    if (inFiles && (entry.sid == kCreatorOwner || entry.sid == kOwnerRights)) return true;
    return IsTrustedAccount(trustee(entry), runningSid);
  };
  for (std::size_t i = 0; i < rights.entries.size(); ++i) {
    const AccessEntry& entry = rights.entries[i];
    if (!applies(entry) || !entry.allow || trusted(entry)) continue;
    std::uint32_t granted = Specific(entry.mask) & wanted;
    for (std::size_t j = 0; j < i; ++j) {
      const AccessEntry& before = rights.entries[j];
      if (applies(before) && !before.allow && (trustee(before) == trustee(entry) || before.sid == kEveryone))
        granted &= ~Specific(before.mask);
    }
    if (granted != 0) return true;
  }
  return false;
}

bool IsDrive(const String& folder) { return folder.size() == 2 && folder[1] == ':'; }

// Whether the rights cannot be read, or an owner of another account may rewrite them.
bool OpenByOwner(const ObjectRights& rights, const String& runningSid) {
  if (!rights.readable || rights.noList) return true;
  bool ownerRightsNamed = false;
  for (const AccessEntry& entry : rights.entries) ownerRightsNamed |= !entry.inheritOnly && entry.sid == kOwnerRights;
  return !IsTrustedAccount(rights.ownerSid, runningSid) && !ownerRightsNamed;
}

}  // namespace

bool OthersCanWrite(const ObjectRights& rights, const String& runningSid) {
  return OpenByOwner(rights, runningSid) || AnyOtherGrant(rights, runningSid, kChanging, false) ||
         AnyOtherGrant(rights, runningSid, kChanging, true);
}

bool OthersCanMoveAway(const ObjectRights& rights, const String& runningSid, bool driveRoot) {
  // Nobody deletes a drive's root: only what lets others take a folder out of it counts there.
  constexpr std::uint32_t kDelete = 0x10000;
  return OpenByOwner(rights, runningSid) ||
         AnyOtherGrant(rights, runningSid, driveRoot ? kMovingAway & ~kDelete : kMovingAway, false);
}

bool IsAccountsOwn(const ObjectRights& rights, const String& runningSid) {
  if (!rights.readable || runningSid.empty()) return false;
  if (rights.ownerSid == runningSid) return true;
  if (rights.ownerSid != kSystem && rights.ownerSid != kAdministrators) return false;
  constexpr std::uint32_t kAdd = 0x2 | 0x4;  // add a file, add a folder
  for (const AccessEntry& entry : rights.entries)
    if (entry.allow && !entry.inheritOnly && entry.sid == runningSid && (Specific(entry.mask) & kAdd) == kAdd) return true;
  return false;
}

const char* InstallPathProblem(FileSystem& files, const String& path, InstallScope scope) {
  bool deepest = true;
  for (String folder = path; !folder.empty(); folder = FolderOfPath(folder)) {
    // "C:" is the drive, whose root the system opens as "C:\". A volume mounted there is no
    // link on the way (Wine shows its drives' roots so), and nobody renames a drive.
    const bool root = IsDrive(folder);
    const String step = root ? folder + "\\" : folder;
    const bool link = !root && files.IsReparsePoint(step);
    if (!link && !files.FolderExists(step)) {
      if (files.FileExists(step)) return "a file stands where a folder of the path belongs";
      continue;
    }
    if (link) return "a folder on the path is a link or junction";
    if (folder == path && files.OthersCanWrite(step)) return "other accounts can change the folder";
    if (folder != path && files.OthersCanMoveAway(step))
      return "other accounts can rename or re-permit a folder above it";
    if (deepest && scope == InstallScope::kUser && !files.OwnedByRunningAccount(step))
      return "an install for you alone goes into a folder of your own";
    deepest = false;
  }
  return nullptr;
}

FileError HoldInstallPath(FileSystem& files, const String& path, InstallScope scope,
                          const String& rightsText, HeldPath& held) {
  for (std::size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
    const String folder = path.substr(0, end);
    const bool root = IsDrive(folder);
    const String step = root ? folder + "\\" : folder;
    if (!step.empty() && !files.FolderExists(step) && !files.IsReparsePoint(step)) {
      FileError error = files.CreateFolderWithRights(step, rightsText);
      if (!error) held.created.push_back(step);
      // One that someone else made meanwhile is judged below, as any other.
      else if (!files.FolderExists(step)) return error;
    }
    std::unique_ptr<FolderHold> hold;
    if (FileError error = step.empty() || root ? FileError{} : files.HoldFolder(step, hold)) {
      held.unheld = step;
      return error;
    }
    held.holds.push_back(std::move(hold));
    if (end == String::npos) break;
  }
  held.problem = InstallPathProblem(files, path, scope);
  return {};
}

bool MayStartElevated(FileSystem& files, const String& path) {
  return files.FileExists(path) && !files.IsReparsePoint(path) &&
         InstallPathProblem(files, FolderOfPath(path), InstallScope::kMachine) == nullptr && !files.OthersCanWrite(path);
}

String UnpredictableName(const String& prefix, std::uint64_t randomNumber) {
  String name = prefix;
  for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789abcdef"[(randomNumber >> shift) & 0xF];
  return name;
}

}  // namespace pelorin
