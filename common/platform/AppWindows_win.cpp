#include "AppWindows_win.h"

#include <windows.h>

#include <vector>

#include "WideText_win.h"

namespace pelorin {

// Lets this program's own windows handle what arrived meanwhile, such as repaints.
void RunPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

namespace {

class ProcessHandle {
 public:
  explicit ProcessHandle(HANDLE handle) : handle_(handle) {}
  ProcessHandle(ProcessHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  ProcessHandle& operator=(ProcessHandle&&) = delete;
  ~ProcessHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Whether `process` runs the program file `wanted`; false when the system does not say.
bool RunsImage(HANDLE process, const wchar_t* wanted) {
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  // Newer systems answer with limited rights; older ones only through psapi.
  using QueryImage = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
  const auto query = reinterpret_cast<QueryImage>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
  if (query != nullptr) {
    if (!query(process, 0, path, &size)) return false;
  } else {
    using ModuleName = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
    HMODULE psapi = LoadLibraryW(L"psapi.dll");
    if (psapi == nullptr) return false;
    const auto name =
        reinterpret_cast<ModuleName>(reinterpret_cast<void*>(GetProcAddress(psapi, "GetModuleFileNameExW")));
    size = name != nullptr ? name(process, nullptr, path, MAX_PATH * 2) : 0;
    FreeLibrary(psapi);
  }
  path[size < MAX_PATH * 2 ? size : MAX_PATH * 2 - 1] = L'\0';
  return lstrcmpiW(path, wanted) == 0;
}

// A window that matched, with its process held open so that its end can be seen.
struct Match {
  HWND window;
  ProcessHandle process;
};

struct Search {
  const ProgramWindow* wanted;
  std::wstring title;  // read as the system keeps it, so that a title in any script matches
  std::wstring programPath;
  std::vector<Match> matches;
};

// A window of the wanted class, title and program. Class and title are short: a longer title
// is no match.
BOOL CALLBACK CollectMatch(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  constexpr int kLimit = 256;
  char className[kLimit];
  const int classLength = GetClassNameA(window, className, kLimit);
  if (search.wanted->className != std::string_view(className, static_cast<std::size_t>(classLength))) return TRUE;
  wchar_t title[kLimit];
  const int titleLength = GetWindowTextW(window, title, kLimit);
  if (titleLength >= kLimit - 1 || search.title != std::wstring_view(title, static_cast<std::size_t>(titleLength)))
    return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  constexpr DWORD kLimitedQuery = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
  HANDLE process = OpenProcess(SYNCHRONIZE | kLimitedQuery, FALSE, processId);
  if (process == nullptr) process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return TRUE;
  ProcessHandle owner(process);
  if (search.programPath.empty() || !RunsImage(process, search.programPath.c_str())) return TRUE;
  search.matches.push_back({window, std::move(owner)});
  return TRUE;
}

}  // namespace

bool Win32AppWindows::IsRunning(const ProgramWindow& window) {
  Search search{&window, Wide(window.title), Wide(window.programPath), {}};
  EnumWindows(CollectMatch, reinterpret_cast<LPARAM>(&search));
  return !search.matches.empty();
}

bool Win32AppWindows::CloseProgram(const ProgramWindow& window, unsigned long waitMs) {
  Search search{&window, Wide(window.title), Wide(window.programPath), {}};
  EnumWindows(CollectMatch, reinterpret_cast<LPARAM>(&search));
  for (const Match& found : search.matches) PostMessageA(found.window, WM_CLOSE, 0, 0);
  constexpr DWORD kStepMs = 100;
  for (unsigned long waited = 0;; waited += kStepMs) {
    bool running = false;
    for (const Match& found : search.matches)
      running = running || WaitForSingleObject(found.process.Get(), 0) == WAIT_TIMEOUT;
    if (!running) return true;
    if (waited >= waitMs) return false;
    RunPendingMessages();
    Sleep(kStepMs);
  }
}

void Win32AppWindows::Pause(unsigned long milliseconds) {
  RunPendingMessages();
  Sleep(milliseconds);
  RunPendingMessages();
}

}  // namespace pelorin
