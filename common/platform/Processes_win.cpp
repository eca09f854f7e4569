#include "Processes_win.h"

#include <windows.h>

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
bool Launch(const std::string& commandLine, WindowShow show, PROCESS_INFORMATION& process) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = ShowCommand(show);
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::string line = commandLine;
  return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process) != 0;
}

}  // namespace

bool Win32Processes::Start(const std::string& commandLine, WindowShow show) {
  PROCESS_INFORMATION process{};
  if (!Launch(commandLine, show, process)) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool Win32Processes::RunAndWait(const std::string& commandLine, unsigned long timeoutMs) {
  PROCESS_INFORMATION process{};
  if (!Launch(commandLine, WindowShow::kNormal, process)) return false;
  WaitForSingleObject(process.hProcess, timeoutMs);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace pelorin
