#include "Processes_win.h"

#include <windows.h>

#include <tlhelp32.h>

#include "WideText_win.h"

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
bool Launch(const String& commandLine, WindowShow show, const String& currentFolder,
            PROCESS_INFORMATION& process) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = ShowCommand(show);
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring line;
  if (!WideFromUtf8(commandLine, line)) return false;
  const std::wstring folder = Wide(currentFolder);
  return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        currentFolder.empty() ? nullptr : folder.c_str(), &startup, &process) != 0;
}

}  // namespace

bool Win32Processes::Start(const String& commandLine, WindowShow show, const String& currentFolder) {
  PROCESS_INFORMATION process{};
  if (!Launch(commandLine, show, currentFolder, process)) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

namespace {

// Whether the program ended within `timeoutMs`; its exit code goes to `code`.
bool RunToEnd(const String& commandLine, unsigned long timeoutMs, const String& currentFolder,
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

bool Win32Processes::RunAndWait(const String& commandLine, unsigned long timeoutMs) {
  DWORD code = 0;
  return RunToEnd(commandLine, timeoutMs, {}, code);
}

bool Win32Processes::RunAndSucceed(const String& commandLine, unsigned long timeoutMs,
                                   const String& currentFolder) {
  DWORD code = 1;
  return RunToEnd(commandLine, timeoutMs, currentFolder, code) && code == 0;
}

std::vector<String> Win32Processes::RunningProgramNames() {
  std::vector<String> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    // Some systems give the whole path, others only the file name.
    const wchar_t* name = entry.szExeFile;
    for (const wchar_t* c = entry.szExeFile; *c != L'\0'; ++c)
      if (*c == L'\\') name = c + 1;
    names.push_back(Utf8(name));
  }
  CloseHandle(snapshot);
  return names;
}

}  // namespace pelorin
