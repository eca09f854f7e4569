#include <windows.h>

#include <optional>
#include <span>

#include "GlyphSheet.h"
#include "MainWindow_win.h"
#include "resource.h"

namespace {

std::optional<pelorin::GlyphSheet> LoadGlyphSheet() {
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_GLYPHS), MAKEINTRESOURCEA(10));
  if (resource == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(nullptr, resource);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
  if (bytes == nullptr) return std::nullopt;
  return pelorin::GlyphSheet::FromBmp(std::span(bytes, SizeofResource(nullptr, resource)));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::optional<pelorin::GlyphSheet> sheet = LoadGlyphSheet();
  if (!sheet) {
    MessageBoxA(nullptr, "The font picture built into this program is damaged.", "Pelorin",
                MB_OK | MB_ICONERROR);
    return 1;
  }

  pelorin::win::MainWindow window(*sheet);
  if (!window.Open()) return 1;

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (window.PreviewKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
