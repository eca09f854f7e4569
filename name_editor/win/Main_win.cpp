#include <windows.h>

#include <optional>
#include <span>

#include "DllHardening_win.h"
#include "FileSystem_win.h"
#include "GlyphSheet.h"
#include "MainWindow_win.h"
#include "Processes_win.h"
#include "Registry_win.h"
#include "Resource_win.h"
#include "Startup.h"
#include "SystemPaths_win.h"
#include "VersionBlock_win.h"
#include "resource.h"

namespace {

std::optional<pelorin::GlyphSheet> LoadGlyphSheet() {
  return pelorin::GlyphSheet::FromPacked(pelorin::win::ResourceBytes(MAKEINTRESOURCEA(IDR_GLYPHS)));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  pelorin::HardenDllLoading();
  const std::optional<pelorin::GlyphSheet> sheet = LoadGlyphSheet();
  if (!sheet) {
    MessageBoxA(nullptr, "The font picture built into this program is damaged.", "Pelorin",
                MB_OK | MB_ICONERROR);
    return 1;
  }

  pelorin::Win32FileSystem files;
  pelorin::Win32Registry registry;
  pelorin::Win32Processes processes;
  const pelorin::String executable = pelorin::ProgramPath();
  const pelorin::VersionBlock version = pelorin::win::ReadVersionBlock();
  const pelorin::win::ProgramContext context{
      files,
      registry,
      processes,
      executable,
      executable.substr(0, executable.rfind('\\')),
      version.productName.empty() ? "Pelorin" : version.productName,
      pelorin::VersionText(version.major, version.minor, version.revision),
      pelorin::IsUninstallStart(arguments)};

  pelorin::win::MainWindow window(*sheet, context);
  if (!window.Open()) return context.uninstall ? 0 : 1;

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (window.PreviewKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
