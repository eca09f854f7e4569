// Feeds arbitrary names and configuration lines to the name line rule: the bytes up to the
// first zero byte are the name, the rest the line. A line without "seta name" comes back
// as it was; one with it keeps the text before it and holds the name right after.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ConfigWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find('\0');
  const std::string_view name = bytes.substr(0, split);
  const std::string_view line = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
  const std::string result = pelorin::ReplaceSetaName(line, name);
  const std::size_t at = line.find("seta name");
  if (at == std::string_view::npos) {
    if (result != line) std::abort();
    return 0;
  }
  const std::string expected = std::string(line.substr(0, at)) + "seta name \"" + std::string(name);
  if (result.compare(0, expected.size(), expected) != 0) std::abort();
  return 0;
}
