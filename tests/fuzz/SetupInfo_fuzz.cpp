// Feeds arbitrary bytes to the setup information reader and to the flag test of its lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SetupData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  pelorin::ParseSetupInfo(text);
  pelorin::IsFlagSet(text);
  return 0;
}
