#include "Startup.h"

#include <cctype>

#include "Concat.h"
#include "DecimalText.h"

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

String ProgramKey(std::string_view productName) {
  return Concat({kMakerKey, "\\", productName});
}

String VersionText(unsigned major, unsigned minor, unsigned revision) {
  return Concat({WholeNumberText(major), ".", WholeNumberText(minor), ".", WholeNumberText(revision)});
}

void RegisterProgram(Registry& registry, std::string_view productName,
                     const String& executablePath, const String& version) {
  const String key = ProgramKey(productName);
  registry.SetKeyValue(RegistryRoot::kLocalMachine, key, "", executablePath);
  registry.SetKeyValue(RegistryRoot::kLocalMachine, key, "Version", version);
}

void UnregisterProgram(Registry& registry, std::string_view productName) {
  const String key = ProgramKey(productName);
  registry.DeleteKeyValue(RegistryRoot::kLocalMachine, key, "");
  registry.DeleteKeyValue(RegistryRoot::kLocalMachine, key, "Version");
  registry.DeleteKey(RegistryRoot::kLocalMachine, key);
  registry.DeleteEmptyKey(RegistryRoot::kLocalMachine, kMakerKey);
}

}  // namespace pelorin
