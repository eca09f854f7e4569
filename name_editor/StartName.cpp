#include "StartName.h"

#include "Concat.h"
#include "ConfigCommands.h"
#include "GameFolder.h"

namespace pelorin {

namespace {

// FS_ReadFile's search: the home path first, then the game folder; a file that cannot be
// read counts as missing.
String StartFileText(FileSystem& files, const String& gameFolder, const String& homePath,
                          const char* config) {
  String text;
  for (const String* root : {&homePath, &gameFolder})
    if (!root->empty() && !files.ReadFile(Concat({WithTrailingBackslash(*root), "baseq3\\", config}), text)) return text;
  return {};
}

}  // namespace

String NameTheGameStartsWith(FileSystem& files, const String& gameFolder, const String& homePath) {
  ConfigRun run;
  for (const char* config : {"q3config.cfg", "autoexec.cfg"}) RunConfig(StartFileText(files, gameFolder, homePath, config), run);
  const String* name = run.Name();
  return name && !run.runaway ? *name : String();
}

}  // namespace pelorin
