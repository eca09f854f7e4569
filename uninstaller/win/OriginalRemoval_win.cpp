#include "OriginalRemoval_win.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

#include "CommandLine.h"
#include "Concat.h"
#include "WideText_win.h"

namespace pelorin::win {

namespace {

// The original ends right after it has started its batch file; a copy never waits for ever.
constexpr DWORD kOriginalWaitMs = 10 * 60 * 1000;
constexpr int kFileDispositionInformation = 13, kFileDispositionInformationEx = 64;
constexpr ULONG kDeletePosix = 0x1 | 0x2;  // FILE_DISPOSITION_DELETE | FILE_DISPOSITION_POSIX_SEMANTICS
// Another program may hold the file or stand in the folder for a while (a scanner, an indexer).
constexpr int kAttempts = 30;
constexpr DWORD kRetryMs = 1000;

HANDLE HandleOf(std::uint64_t value) { return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value)); }

}  // namespace

bool StartOriginalRemoval(const String& copyPath, const String& installFolder, std::size_t levels) {
  wchar_t own[2 * MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, 2 * MAX_PATH);
  std::wstring line;
  if (length == 0 || length >= 2 * MAX_PATH) return false;
  SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
  const HANDLE file =
      CreateFileW(own, DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  HANDLE self = nullptr;
  bool started = false;
  if (DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0)) {
    const OriginalRemoval removal{reinterpret_cast<std::uintptr_t>(self), reinterpret_cast<std::uintptr_t>(file),
                                  levels, installFolder};
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    started = WideFromUtf8(Concat({"\"", copyPath, "\" ", OriginalRemovalArguments(removal)}), line) &&
              CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                             &process);
    if (started) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
    CloseHandle(self);
  }
  CloseHandle(file);
  return started;
}

int FinishOriginalRemoval(const OriginalRemoval& removal) {
  const HANDLE original = HandleOf(removal.process), file = HandleOf(removal.file);
  // The running original's file cannot go before it ends. Deleted through the handle the
  // original opened, it is that file and no other that someone may have put in its place.
  const bool ended = WaitForSingleObject(original, kOriginalWaitMs) == WAIT_OBJECT_0;
  CloseHandle(original);
  using SetInformation = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
  const auto set = reinterpret_cast<SetInformation>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetInformationFile")));
  IO_STATUS_BLOCK status{};
  BOOLEAN remove = TRUE;
  ULONG posix = kDeletePosix;
  // With POSIX semantics, where the system has them, the name goes at once even while another
  // program holds the file open; else it goes when the last handle closes. Tried again while
  // another program maps it.
  bool deleted = false;
  for (int attempt = 0; ended && set != nullptr && !deleted && attempt < kAttempts; ++attempt) {
    if (attempt > 0) Sleep(kRetryMs);
    deleted = set(file, &status, &posix, sizeof(posix), kFileDispositionInformationEx) >= 0 ||
              set(file, &status, &remove, sizeof(remove), kFileDispositionInformation) >= 0;
  }
  CloseHandle(file);
  // The exit code tells a watching administrator; the file stays where it was.
  if (!deleted) return kExitIncomplete;
  // Only empty folders go, and none above those setup made; one another program still stands
  // in is tried again.
  std::wstring folder;
  if (!WideFromUtf8(removal.installFolder, folder)) return kExitDone;
  for (std::size_t level = 0; level < removal.levels; ++level) {
    int attempt = 0;
    while (!RemoveDirectoryW(folder.c_str()) && GetLastError() == ERROR_SHARING_VIOLATION && ++attempt < kAttempts)
      Sleep(kRetryMs);
    const std::size_t slash = folder.rfind(L'\\');
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES || slash == std::wstring::npos) break;
    folder.resize(slash);
  }
  return kExitDone;
}

}  // namespace pelorin::win
