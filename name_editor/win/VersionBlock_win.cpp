#include "VersionBlock_win.h"

#include <windows.h>

namespace pelorin::win {

VersionBlock ReadVersionBlock() {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
  HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
  const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr) return {};
  return ParseVersionResource({bytes, SizeofResource(nullptr, found)});
}

}  // namespace pelorin::win
