#include "ObjectRights_win.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "RunAccount_win.h"
#include "WideText_win.h"

namespace pelorin {

namespace {

// "S-1-5-...": digits and dashes only, so each wide character is one byte.
std::string SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (sid == nullptr || !ConvertSidToStringSidW(sid, &text)) return {};
  std::string narrow;
  for (LPCWSTR c = text; *c != 0; ++c) narrow += static_cast<char>(*c);
  LocalFree(text);
  return narrow;
}

}  // namespace

ObjectRights ReadObjectRights(const std::string& path) {
  ObjectRights rights;
  std::wstring wide;
  PSID owner = nullptr;
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!WideFromUtf8(path, wide) ||
      GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                            &owner, nullptr, &list, nullptr, &descriptor) != ERROR_SUCCESS)
    return rights;
  rights.ownerSid = SidText(owner);
  rights.readable = !rights.ownerSid.empty();
  rights.noList = list == nullptr;
  for (DWORD i = 0; list != nullptr && i < list->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(list, i, &ace)) rights.readable = false;
    if (ace == nullptr) continue;
    const BYTE type = static_cast<const ACE_HEADER*>(ace)->AceType;
    const BYTE flags = static_cast<const ACE_HEADER*>(ace)->AceFlags;
    // Allowances of other forms (objects, compounds) are not read here: they count as
    // unknown rights, which another account may hold.
    if (type == ACCESS_ALLOWED_COMPOUND_ACE_TYPE || type == ACCESS_ALLOWED_OBJECT_ACE_TYPE ||
        type == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE)
      rights.readable = false;
    // A callback allowance may grant as much as a plain one; it is read as one.
    if (type != ACCESS_ALLOWED_ACE_TYPE && type != ACCESS_DENIED_ACE_TYPE && type != ACCESS_ALLOWED_CALLBACK_ACE_TYPE)
      continue;
    const auto* entry = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
    rights.entries.push_back({SidText(const_cast<DWORD*>(&entry->SidStart)), type != ACCESS_DENIED_ACE_TYPE,
                              entry->Mask, (flags & INHERIT_ONLY_ACE) != 0,
                              (flags & OBJECT_INHERIT_ACE) != 0});
  }
  LocalFree(descriptor);
  return rights;
}

bool Win32GuardedFileSystem::OthersCanWrite(const std::string& path) {
  return pelorin::OthersCanWrite(ReadObjectRights(path), RunningAccountSid());
}

bool Win32GuardedFileSystem::OthersCanMoveAway(const std::string& path) {
  return pelorin::OthersCanMoveAway(ReadObjectRights(path), RunningAccountSid());
}

bool Win32GuardedFileSystem::OwnedByRunningAccount(const std::string& path) {
  const ObjectRights rights = ReadObjectRights(path);
  return rights.readable && rights.ownerSid == RunningAccountSid();
}

}  // namespace pelorin
