#include "Processes_win.h"

#include <windows.h>

#include <tlhelp32.h>

namespace pelorin {

namespace {

WORD ShowCommand(WindowShow show) {
  switch (show) {
    case WindowShow::kNormalNoFocus: return SW_SHOWNOACTIVATE;
    case WindowShow::kHidden: return SW_HIDE;
    case WindowShow::kNormal: break;
  }
  return SW_SHOWNORMAL;
}

// Starts the program; the caller owns the handles it returns.
bool Launch(const std::string& commandLine, WindowShow show, const std::string& currentFolder,
            PROCESS_INFORMATION& process) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = ShowCommand(show);
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::string line = commandLine;
  return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process) != 0;
}

}  // namespace

bool Win32Processes::Start(const std::string& commandLine, WindowShow show, const std::string& currentFolder) {
  PROCESS_INFORMATION process{};
  if (!Launch(commandLine, show, currentFolder, process)) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

namespace {

// Whether the program ended within `timeoutMs`; its exit code goes to `code`.
bool RunToEnd(const std::string& commandLine, unsigned long timeoutMs, const std::string& currentFolder,
              DWORD& code) {
  PROCESS_INFORMATION process{};
  if (!Launch(commandLine, WindowShow::kNormal, currentFolder, process)) return false;
  const bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended;
}

}  // namespace

bool Win32Processes::RunAndWait(const std::string& commandLine, unsigned long timeoutMs) {
  DWORD code = 0;
  return RunToEnd(commandLine, timeoutMs, {}, code);
}

bool Win32Processes::RunAndSucceed(const std::string& commandLine, unsigned long timeoutMs,
                                   const std::string& currentFolder) {
  DWORD code = 1;
  return RunToEnd(commandLine, timeoutMs, currentFolder, code) && code == 0;
}

std::vector<std::string> Win32Processes::RunningProgramNames() {
  std::vector<std::string> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    // Some systems give the whole path, others only the file name.
    const char* name = entry.szExeFile;
    for (const char* c = entry.szExeFile; *c != '\0'; ++c)
      if (*c == '\\') name = c + 1;
    names.emplace_back(name);
  }
  CloseHandle(snapshot);
  return names;
}

}  // namespace pelorin
