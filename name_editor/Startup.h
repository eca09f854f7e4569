#pragma once

#include "Str.h"
#include <string_view>

#include "Registry.h"

namespace pelorin {

// The start argument with which the uninstaller asks the program to remove its registry key.
bool IsUninstallStart(std::string_view arguments);

// The maker's key under HKEY_LOCAL_MACHINE, which holds one key per product.
inline constexpr char kMakerKey[] = "SOFTWARE\\Brackwater";

// "SOFTWARE\Brackwater\" + the product name, under HKEY_LOCAL_MACHINE.
String ProgramKey(std::string_view productName);

// Major, minor and revision joined by dots, without leading zeros: 1.2.16.
String VersionText(unsigned major, unsigned minor, unsigned revision);

// Records where the program is and which version it is.
void RegisterProgram(Registry& registry, std::string_view productName,
                     const String& executablePath, const String& version);

// Removes what RegisterProgram wrote and the key, and the maker's key when no other product
// is left in it.
void UnregisterProgram(Registry& registry, std::string_view productName);

}  // namespace pelorin
