#include "FolderRights.h"

namespace pelorin {

namespace {

constexpr char kSystem[] = "S-1-5-18";
constexpr char kAdministrators[] = "S-1-5-32-544";
constexpr char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr char kOwnerRights[] = "S-1-3-4";
constexpr char kEveryone[] = "S-1-1-0";

// The generic rights as what they grant on a file or folder.
constexpr std::uint32_t kGenericAll = 0x10000000, kGenericWrite = 0x40000000;
constexpr std::uint32_t kFileAll = 0x1F01FF, kFileWrite = 0x120116;
// Write data or add a file, append or add a folder, delete a child, delete, change the
// rights, take ownership.
constexpr std::uint32_t kChanging = 0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000;

std::uint32_t Specific(std::uint32_t mask) {
  if (mask & kGenericAll) mask |= kFileAll;
  if (mask & kGenericWrite) mask |= kFileWrite;
  return mask;
}

// Object and container inherit: files and folders made inside get the same entry.
std::string Allow(const std::string& rights, const std::string& trustee) {
  return "(A;OICI;" + rights + ";;;" + trustee + ")";
}

}  // namespace

std::string FolderRightsText(FolderUse use, const std::string& userSid) {
  std::string text = "D:P" + Allow("FA", "SY") + Allow("FA", "BA");
  if (use == FolderUse::kInstall) return text + Allow("0x1200a9", "BU");  // read and execute
  // SYSTEM and the Administrators group are named already; an account SID never starts
  // with anything but "S-", so nothing else can slip into the text.
  if (userSid.starts_with("S-1-") && userSid != kSystem && userSid != kAdministrators &&
      userSid.find_first_not_of("S0123456789-") == std::string::npos)
    text += Allow("FA", userSid);
  return text;
}

bool IsOwnedByTrustedAccount(const std::string& ownerSid, const std::string& runningSid) {
  return ownerSid.empty() || (ownerSid == kSystem || ownerSid == kAdministrators || ownerSid == runningSid);
}

bool OthersCanWrite(const ObjectRights& rights, const std::string& runningSid) {
  if (!rights.readable || rights.noList) return true;
  const auto trusted = [&](const std::string& sid) {
    return sid == kSystem || sid == kAdministrators || sid == kTrustedInstaller ||
           (!runningSid.empty() && sid == runningSid);
  };
  bool ownerRightsNamed = false;
  for (const AccessEntry& entry : rights.entries) ownerRightsNamed |= !entry.inheritOnly && entry.sid == kOwnerRights;
  if (!trusted(rights.ownerSid) && !ownerRightsNamed) return true;
  const auto trustee = [&](const AccessEntry& entry) -> const std::string& {
    return entry.sid == kOwnerRights ? rights.ownerSid : entry.sid;
  };
  for (std::size_t i = 0; i < rights.entries.size(); ++i) {
    const AccessEntry& entry = rights.entries[i];
    if (entry.inheritOnly || !entry.allow || trusted(trustee(entry))) continue;
    std::uint32_t granted = Specific(entry.mask) & kChanging;
    for (std::size_t j = 0; j < i; ++j) {
      const AccessEntry& before = rights.entries[j];
      if (!before.inheritOnly && !before.allow && (trustee(before) == trustee(entry) || before.sid == kEveryone))
        granted &= ~Specific(before.mask);
    }
    if (granted != 0) return true;
  }
  return false;
}

bool MayStartElevated(FileSystem& files, const std::string& path) {
  return files.FileExists(path) && !files.IsReparsePoint(path) && !files.OthersCanWrite(FolderOfPath(path)) &&
         !files.OthersCanWrite(path);
}

std::string UnpredictableName(const std::string& prefix, std::uint64_t randomNumber) {
  std::string name = prefix;
  for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789abcdef"[(randomNumber >> shift) & 0xF];
  return name;
}

}  // namespace pelorin
