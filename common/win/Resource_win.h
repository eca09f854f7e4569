#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace pelorin::win {

// The bytes of a raw data resource of this program; empty when it has none of that name.
inline std::span<const std::uint8_t> ResourceBytes(LPCSTR name) {
  HRSRC resource = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (resource == nullptr) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, resource)));
  if (bytes == nullptr) return {};
  return {bytes, SizeofResource(nullptr, resource)};
}

}  // namespace pelorin::win
