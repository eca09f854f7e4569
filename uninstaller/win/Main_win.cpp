// Stands in for the uninstaller inside setup until the real one is built.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, "This build has no uninstaller yet: remove the program folder by hand.",
              "Uninstall", MB_OK | MB_ICONINFORMATION);
  return 0;
}
