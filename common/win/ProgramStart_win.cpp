// The shipped programs start here instead of in the C runtime's start-up code: they have no
// static constructors or destructors (a test reads their link maps), no thread-local data and
// no use for argc and argv, and the runtime DLL sets up its heap by itself. WinMain gets what
// the start-up code would have passed it, and its result is the exit code.
#include <windows.h>

extern "C" void _pei386_runtime_relocator();

// ld 2.40 crashes building the relocations of a link without start-up code unless the C
// runtime's pseudo-relocation object is among its inputs. This reference, outside LTO, brings
// it in; nothing calls the reference, so --gc-sections drops both again. The programs link
// with --disable-runtime-pseudo-reloc, so the linker refuses any data import that would need
// the relocator to run.
extern "C" __attribute__((used)) void PelorinRelocatorAnchor() { _pei386_runtime_relocator(); }

namespace {

// The command line after the program's path, which ends at its closing quote or, unquoted,
// at the first blank; the blanks after it are skipped.
LPSTR ArgumentsAfterProgram(LPSTR line) {
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (static_cast<unsigned char>(*line) > ' ') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

}  // namespace

// The system calls the entry point with the stack aligned to 4 bytes on 32-bit Windows, which
// is all the 32-bit code is built to expect; 64-bit Windows aligns it as its code expects.
extern "C" __attribute__((used)) void PelorinStart() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
  const int code = WinMain(GetModuleHandleW(nullptr), nullptr, ArgumentsAfterProgram(GetCommandLineA()), show);
  ExitProcess(static_cast<UINT>(code));
}
