#include "InstallFolder_win.h"

#include <windows.h>

#include "ShellFolders_win.h"
#include "SystemPaths_win.h"
#include "WideText_win.h"

namespace pelorin {

namespace {

constexpr int kPersonal = 0x0005;             // CSIDL_PERSONAL: Documents
constexpr int kDesktop = 0x0010;              // CSIDL_DESKTOPDIRECTORY
constexpr int kCommonDesktop = 0x0019;        // CSIDL_COMMON_DESKTOPDIRECTORY
constexpr int kWindows = 0x0024;              // CSIDL_WINDOWS
constexpr int kProgramFiles = 0x0026;         // CSIDL_PROGRAM_FILES
constexpr int kProfile = 0x0028;              // CSIDL_PROFILE
constexpr int kProgramFilesX86 = 0x002A;      // CSIDL_PROGRAM_FILESX86
constexpr int kCommonDocuments = 0x002E;      // CSIDL_COMMON_DOCUMENTS
constexpr int kLocalAppData = 0x001C;         // CSIDL_LOCAL_APPDATA

// The path by which the system knows an existing folder: full, in long names, with links and
// junctions followed; `path` itself where the system cannot say.
String FinalPath(const String& path) {
  // Looked up, since older systems lack the call; there the path is taken as it is.
  using GetFinal = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  const auto get = reinterpret_cast<GetFinal>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  wchar_t text[2 * MAX_PATH];
  constexpr DWORD kRoom = 2 * MAX_PATH;
  DWORD length = 0;
  HANDLE file = get == nullptr ? INVALID_HANDLE_VALUE
                               : CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    length = get(file, text, kRoom, 0);  // normalised, with the drive letter: \\?\C:\...
    CloseHandle(file);
  }
  String final;
  if (length <= 4 || length >= kRoom || !Utf8FromWide(std::wstring_view(text + 4, length - 4), final)) return path;
  // A share's final path is \\?\UNC\server\share\...: a path of its own once "\\" stands for "UNC".
  if (final.starts_with("UNC\\")) final.replace(0, 3, "\\");
  return final;
}

}  // namespace

String ProgramFilesFolder() {
  String folder = ShellFolderPath(kProgramFiles);
  if (folder.empty()) folder = "C:\\Program Files";
  return folder;
}

String ProgramsFolder(InstallScope scope) {
  if (scope == InstallScope::kMachine) return ProgramFilesFolder();
  String local = ShellFolderPath(kLocalAppData);
  if (!local.empty()) local += "\\Programs";
  return local;
}

ReservedFolders SystemReservedFolders() {
  ReservedFolders reserved{ShellFolderPath(kWindows), {}, FinalPath};
  reserved.others.push_back(SystemFolder());
  static constexpr int kOthers[] = {kPersonal,        kDesktop,         kCommonDesktop,  kProgramFiles,
                                    kProfile,         kProgramFilesX86, kCommonDocuments};
  for (int csidl : kOthers) reserved.others.push_back(ShellFolderPath(csidl));
  return reserved;
}

InstallFolderChoice ChooseSystemInstallFolder(FileSystem& files, const String& typed, const String& appName,
                                              InstallScope scope) {
  return ChooseInstallFolder(files, typed, appName, SystemReservedFolders(), scope);
}

}  // namespace pelorin
