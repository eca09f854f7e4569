#include "Elevation_win.h"

#include <windows.h>
#include <shellapi.h>

#include "SystemPaths_win.h"
#include "WideText_win.h"

namespace pelorin {

bool AccountIsAdministrator() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  const bool split = GetTokenInformation(token, TokenElevationType, &type, sizeof(type), &size) &&
                     type != TokenElevationTypeDefault;
  CloseHandle(token);
  // A full token is elevated now; a limited one has the administrators' token linked. A
  // default token is an administrator's only where it holds the group enabled (no prompt).
  if (split) return true;
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof(sid);
  BOOL member = FALSE;
  return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize) &&
         CheckTokenMembership(nullptr, sid, &member) && member;
}

ElevatedRun RunThisProgramElevated(const String& arguments) {
  ElevatedRun run;
  const std::wstring program = Wide(ProgramPath()), parameters = Wide(arguments), folder = Wide(SystemFolder());
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  // Nothing is loaded from, nor held in, the folder this program was started in.
  info.lpDirectory = folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info) || info.hProcess == nullptr) {
    run.systemCode = GetLastError();
    run.refused = run.systemCode == ERROR_CANCELLED;
    return run;
  }
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  run.started = GetExitCodeProcess(info.hProcess, &code) != 0;
  run.exitCode = code;
  CloseHandle(info.hProcess);
  return run;
}

}  // namespace pelorin
