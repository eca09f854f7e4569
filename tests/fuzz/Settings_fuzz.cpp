// Feeds arbitrary bytes to the settings file reader: it must never crash, keep at most four
// history names and no empty one, and what it read must write and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pelorin::EditorSettings settings =
      pelorin::ParseSettings(std::string_view(reinterpret_cast<const char*>(data), size));
  if (settings.history.size() > 4) std::abort();
  for (const auto& name : settings.history)
    if (name.empty()) std::abort();
  const pelorin::EditorSettings again = pelorin::ParseSettings(pelorin::FormatSettings(settings));
  if (again.gameFolder != settings.gameFolder || again.lastSavedName != settings.lastSavedName ||
      again.history != settings.history)
    std::abort();
  return 0;
}
