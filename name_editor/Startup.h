#pragma once

#include <string>
#include <string_view>

#include "Registry.h"

namespace pelorin {

// The start argument with which the uninstaller asks the program to remove its registry key.
bool IsUninstallStart(std::string_view arguments);

// "SOFTWARE\Brackwater\" + the product name, under HKEY_LOCAL_MACHINE.
std::string ProgramKey(std::string_view productName);

// Major, minor and revision joined by dots, without leading zeros: 1.2.16.
std::string VersionText(unsigned major, unsigned minor, unsigned revision);

// Records where the program is and which version it is.
void RegisterProgram(Registry& registry, std::string_view productName,
                     const std::string& executablePath, const std::string& version);

// Removes what RegisterProgram wrote, and the key.
void UnregisterProgram(Registry& registry, std::string_view productName);

}  // namespace pelorin
