#include "StartName.h"

#include "Concat.h"
#include "ConfigCommands.h"
#include "GameFolder.h"

namespace pelorin {

namespace {

// FS_ReadFile's search: the home path first, then the game folder; a file that cannot be
// read counts as missing.
std::string StartFileText(FileSystem& files, const std::string& gameFolder, const std::string& homePath,
                          const char* config) {
  std::string text;
  for (const std::string* root : {&homePath, &gameFolder})
    if (!root->empty() && !files.ReadFile(Concat({WithTrailingBackslash(*root), "baseq3\\", config}), text)) return text;
  return {};
}

}  // namespace

std::string NameTheGameStartsWith(FileSystem& files, const std::string& gameFolder, const std::string& homePath) {
  ConfigRun run;
  for (const char* config : {"q3config.cfg", "autoexec.cfg"}) RunConfig(StartFileText(files, gameFolder, homePath, config), run);
  const std::string* name = run.Name();
  return name && !run.runaway ? *name : std::string();
}

}  // namespace pelorin
