#include "FolderRights.h"

namespace pelorin {

namespace {

constexpr char kSystem[] = "S-1-5-18";
constexpr char kAdministrators[] = "S-1-5-32-544";

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

std::string UnpredictableName(const std::string& prefix, std::uint64_t randomNumber) {
  std::string name = prefix;
  for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789abcdef"[(randomNumber >> shift) & 0xF];
  return name;
}

}  // namespace pelorin
