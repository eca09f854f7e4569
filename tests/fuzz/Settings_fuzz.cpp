// Feeds arbitrary bytes to the settings file reader, in the code page or as UTF-8 after the
// mark: it must never crash, read a game folder that is well-formed UTF-8 (a path for the
// system's wide calls), keep at most four history names and no empty one, and what it read
// must write and read back the same, in whichever encoding the writer picks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "CodePage1252.h"
#include "Settings.h"
#include "Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pelorin::CodePage1252 codePage;
  const pelorin::EditorSettings settings =
      pelorin::ParseSettings(codePage, std::string_view(reinterpret_cast<const char*>(data), size));
  std::u16string wide;
  if (!pelorin::Utf16FromUtf8(settings.gameFolder, wide)) std::abort();
  if (settings.history.size() > 4) std::abort();
  for (const auto& name : settings.history)
    if (name.empty()) std::abort();
  const pelorin::EditorSettings again = pelorin::ParseSettings(codePage, pelorin::FormatSettings(codePage, settings));
  if (again.gameFolder != settings.gameFolder || again.lastSavedName != settings.lastSavedName ||
      again.history != settings.history)
    std::abort();
  return 0;
}
