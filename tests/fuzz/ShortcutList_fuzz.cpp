// Feeds arbitrary bytes to the shortcut list reader: at most ten lines, none holding a CR;
// a line that setup takes names a shortcut file and a target that stay inside their folders.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Concat.h"
#include "InstallEngine.h"
#include "SetupData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto lines = pelorin::ParseShortcutLines(std::string_view(reinterpret_cast<const char*>(data), size));
  if (lines.size() > pelorin::kMaxShortcuts) std::abort();
  for (const auto& line : lines) {
    if (line.find('\r') != pelorin::String::npos) std::abort();
    pelorin::ShortcutLine shortcut;
    if (!pelorin::ParseShortcutLine(line, shortcut)) continue;
    if (!pelorin::IsSafeRelativeName(pelorin::Concat({shortcut.folder, shortcut.name, ".lnk"})) ||
        !pelorin::IsSafeRelativeName(shortcut.target) || shortcut.name.find_first_of("\\/") != pelorin::String::npos)
      std::abort();
  }
  return 0;
}
