#include "DllHardening_win.h"

#include <windows.h>

namespace pelorin {

void HardenDllLoading() {
  // Looked up, since older systems lack the call: with it, only the system folder is searched.
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto set = kernel == nullptr ? nullptr
                                     : reinterpret_cast<SetDirectories>(
                                           reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set != nullptr && set(kSearchSystem32)) return;
  // Otherwise the current folder at least leaves the search order.
  SetDllDirectoryW(L"");
}

}  // namespace pelorin
