#include "Startup.h"

#include <cctype>

namespace pelorin {

bool IsUninstallStart(std::string_view arguments) {
  while (!arguments.empty() && arguments.front() == ' ') arguments.remove_prefix(1);
  while (!arguments.empty() && arguments.back() == ' ') arguments.remove_suffix(1);
  constexpr std::string_view kUninstall = "uninstall";
  if (arguments.size() != kUninstall.size()) return false;
  for (std::size_t i = 0; i < arguments.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(arguments[i])) != kUninstall[i]) return false;
  return true;
}

std::string ProgramKey(std::string_view productName) {
  return std::string(kMakerKey) + "\\" + std::string(productName);
}

std::string VersionText(unsigned major, unsigned minor, unsigned revision) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

void RegisterProgram(Registry& registry, std::string_view productName,
                     const std::string& executablePath, const std::string& version) {
  const std::string key = ProgramKey(productName);
  registry.SetKeyValue(RegistryRoot::kLocalMachine, key, "", executablePath);
  registry.SetKeyValue(RegistryRoot::kLocalMachine, key, "Version", version);
}

void UnregisterProgram(Registry& registry, std::string_view productName) {
  const std::string key = ProgramKey(productName);
  registry.DeleteKeyValue(RegistryRoot::kLocalMachine, key, "");
  registry.DeleteKeyValue(RegistryRoot::kLocalMachine, key, "Version");
  registry.DeleteKey(RegistryRoot::kLocalMachine, key);
  registry.DeleteEmptyKey(RegistryRoot::kLocalMachine, kMakerKey);
}

}  // namespace pelorin
