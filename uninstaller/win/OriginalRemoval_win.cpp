#include "OriginalRemoval_win.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

#include "CommandLine.h"
#include "FileSystem.h"
#include "Processes.h"
#include "WideText_win.h"

namespace pelorin::win {

namespace {

// The original ends right after it has started its batch file; a copy never waits for ever.
constexpr DWORD kOriginalWaitMs = 10 * 60 * 1000;
constexpr int kFileDispositionInformation = 13;

HANDLE HandleOf(std::uint64_t value) { return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value)); }

}  // namespace

bool StartOriginalRemoval(const std::string& copyPath, const std::string& installFolder, std::size_t levels) {
  wchar_t own[2 * MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, 2 * MAX_PATH);
  std::wstring copy, line;
  if (length == 0 || length >= 2 * MAX_PATH || !WideFromUtf8(copyPath, copy)) return false;
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
    started = WideFromUtf8(QuotedPath(copyPath) + " " + OriginalRemovalArguments(removal), line) &&
              CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
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
  const bool deleted =
      ended && set != nullptr && set(file, &status, &remove, sizeof(remove), kFileDispositionInformation) >= 0;
  CloseHandle(file);
  if (!deleted) return kExitIncomplete;
  // Only empty folders go, and none above those setup made.
  std::string folder = removal.installFolder;
  std::wstring wide;
  for (std::size_t level = 0; level < removal.levels && WideFromUtf8(folder, wide) && RemoveDirectoryW(wide.c_str());
       ++level)
    folder = FolderOfPath(folder);
  return kExitDone;
}

}  // namespace pelorin::win
