#include "ObjectRights_win.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "RunAccount_win.h"
#include "SystemError_win.h"
#include "Utf8.h"
#include "WideText_win.h"

namespace pelorin {

ObjectRights ReadObjectRights(const String& path) {
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

bool Win32GuardedFileSystem::OthersCanWrite(const String& path) {
  return pelorin::OthersCanWrite(ReadObjectRights(path), RunningAccountSid());
}

bool Win32GuardedFileSystem::OthersCanMoveAway(const String& path) {
  return pelorin::OthersCanMoveAway(ReadObjectRights(path), RunningAccountSid(), path.size() == 3 && path[1] == ':');
}

bool Win32GuardedFileSystem::OwnedByRunningAccount(const String& path) {
  return IsAccountsOwn(ReadObjectRights(path), RunningAccountSid());
}

FileError Win32GuardedFileSystem::HoldFolder(const String& path, std::unique_ptr<FolderHold>& hold) {
  class Held : public FolderHold {
   public:
    explicit Held(HANDLE handle) : handle_(handle) {}
    ~Held() override { CloseHandle(handle_); }

   private:
    HANDLE handle_;
  };
  // Without delete sharing nobody can delete or rename it while it is open (the right to
  // list it makes the system count the sharing; attributes alone would not); the reparse
  // point itself is opened, never followed.
  const HANDLE handle = CreateFileW(Wide(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                    nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastFileError();
  auto held = std::make_unique<Held>(handle);
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle, &information)) return LastFileError();
  if ((information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
      FILE_ATTRIBUTE_DIRECTORY)
    return {FileError::Kind::kOther, ERROR_DIRECTORY, "it is a link, a junction or a file, not a plain folder"};
  hold = std::move(held);
  return {};
}

FileError Win32GuardedFileSystem::OpenRunningImage(const String& path, std::unique_ptr<FileReader>& reader) {
  std::unique_ptr<FileReader> locked;
  if (FileError error = OpenLocked(path, locked)) return error;
  // The name the system keeps for the mapped image follows the file through a rename; the
  // locked file's final path is where it is now. Looked up: older systems have the call in
  // psapi.dll only, and there the file is taken as it is.
  using MappedName = DWORD(WINAPI*)(HANDLE, LPVOID, LPWSTR, DWORD);
  using FinalPath = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto mapped =
      reinterpret_cast<MappedName>(reinterpret_cast<void*>(GetProcAddress(kernel, "K32GetMappedFileNameW")));
  const auto finalPath =
      reinterpret_cast<FinalPath>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetFinalPathNameByHandleW")));
  if (mapped != nullptr && finalPath != nullptr) {
    constexpr DWORD kRoom = 2 * MAX_PATH;
    wchar_t image[kRoom], nt[kRoom], dos[kRoom];
    const DWORD imageLength = mapped(GetCurrentProcess(), GetModuleHandleW(nullptr), image, kRoom);
    // Opened again by its name, which nobody can give another file while it is locked.
    const HANDLE handle = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const DWORD ntLength = finalPath(handle, nt, kRoom, VOLUME_NAME_NT);
    const DWORD dosLength = finalPath(handle, dos, kRoom, VOLUME_NAME_DOS);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    // Each name as UTF-8 in room of its own; one the system did not give, or with no exact
    // conversion, is empty.
    const auto text = [](const wchar_t* wide, DWORD length, char* utf8) {
      const std::size_t size =
          length > 0 && length < kRoom ? Utf8FromUtf16(reinterpret_cast<const char16_t*>(wide), length, utf8) : 0;
      return std::string_view(utf8, size == kNoConversion ? 0 : size);
    };
    char imageUtf8[3 * kRoom], ntUtf8[3 * kRoom], dosUtf8[3 * kRoom];
    if (!IsMappedFile(text(image, imageLength, imageUtf8), text(nt, ntLength, ntUtf8), text(dos, dosLength, dosUtf8)))
      return {FileError::Kind::kOther, ERROR_FILE_INVALID, "the file is not the program that runs"};
  }
  reader = std::move(locked);
  return {};
}

}  // namespace pelorin
