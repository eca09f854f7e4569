#include "InstallFolder_win.h"

#include "ShellFolders_win.h"
#include "SystemPaths_win.h"

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

}  // namespace

std::string ProgramFilesFolder() {
  const std::string folder = ShellFolderPath(kProgramFiles);
  return folder.empty() ? "C:\\Program Files" : folder;
}

ReservedFolders SystemReservedFolders() {
  ReservedFolders reserved{ShellFolderPath(kWindows), {SystemFolder()}};
  for (int csidl : {kPersonal, kDesktop, kCommonDesktop, kProgramFiles, kProfile, kProgramFilesX86, kCommonDocuments})
    reserved.others.push_back(ShellFolderPath(csidl));
  return reserved;
}

}  // namespace pelorin
