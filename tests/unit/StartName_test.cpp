#include "StartName.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Each row: baseq3's q3config.cfg and autoexec.cfg in the home path and in the game folder
// (nullptr: no such file), and the name the game starts with.
TEST(NameTheGameStartsWith, RunsBothStartFilesAsTheEngineFindsThem) {
  struct Case {
    const char* homeQ3config;
    const char* homeAutoexec;
    const char* q3config;
    const char* autoexec;
    const char* name;
  } cases[] = {
      {nullptr, nullptr, "seta name \"^1Old\"\n", "name \"^2Auto\"\n", "^2Auto"},
      {nullptr, nullptr, "seta rate 1\n", "name \"^2Auto\"\n", ""},  // the cvar never made
      {nullptr, nullptr, nullptr, nullptr, ""},
      {"seta name Home\n", nullptr, "seta name Game\n", "name \"Auto\" x\n", "Auto x"},
      {"seta rate 1\n", "", "seta name Game\n", "name Auto\n", ""},
      {nullptr, nullptr, "seta v \"seta name V\"\nvstr v\n", "", "V"},
      {nullptr, nullptr, "seta name A\n", "seta name B; reset name\n", "A"},
      {nullptr, nullptr, "seta name A\nunset name\n", "name B\n", ""},
  };
  for (const auto& c : cases) {
    testing::TempFolder home, game;
    testing::FaultyFileSystem files;
    const auto put = [](testing::TempFolder& folder, const char* name, const char* text) {
      if (text) folder.Write(String("baseq3\\") + name, text);
    };
    put(home, "q3config.cfg", c.homeQ3config);
    put(home, "autoexec.cfg", c.homeAutoexec);
    put(game, "q3config.cfg", c.q3config);
    put(game, "autoexec.cfg", c.autoexec);
    EXPECT_EQ(NameTheGameStartsWith(files, game.Path(), home.Path()), c.name) << (c.q3config ? c.q3config : "-") << (c.autoexec ? c.autoexec : "-");
  }
}

}  // namespace
}  // namespace pelorin
