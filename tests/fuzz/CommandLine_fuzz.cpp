// Feeds arbitrary bytes to the command-line reader: a folder is never empty, never holds a
// quote and never starts or ends with a blank; a folder and an unknown switch never come together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const bool folderAllowed : {true, false}) {
    const pelorin::CommandLine line = pelorin::ParseCommandLine(text, folderAllowed);
    if (line.hasFolder != !line.folder.empty()) std::abort();
    if (line.hasFolder && (!folderAllowed || !line.Valid())) std::abort();
    const pelorin::String& folder = line.folder;
    if (folder.find('"') != pelorin::String::npos) std::abort();
    if (!folder.empty() && (folder.front() == ' ' || folder.back() == ' ' || folder.back() == '\t')) std::abort();
  }
  return 0;
}
