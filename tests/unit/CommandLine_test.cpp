#include "CommandLine.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

TEST(CommandLineTest, QuietAndFolderSwitches) {
  struct Case {
    const char* arguments;
    bool quiet;
    const char* folder;  // null: none
  };
  const Case cases[] = {
      {"", false, nullptr},
      {"  /S  ", true, nullptr},
      {"/s", true, nullptr},
      {"/S /D=C:\\Other Place\\Pel", true, "C:\\Other Place\\Pel"},
      {"/D=C:\\Other  Place\\ ", false, "C:\\Other  Place\\"},  // inner blanks kept, outer dropped
      {"/S /D=\"C:\\Program Files\\Pel\"", true, "C:\\Program Files\\Pel"},
      {"\"/D=C:\\A B\" ", false, "C:\\A B"},
      {"/d=C:\\x /S", false, "C:\\x /S"},  // the rest of the line is the folder
      {"\"/S\"", true, nullptr},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments, true);
    EXPECT_TRUE(line.Valid()) << c.arguments << ": " << line.unknown;
    EXPECT_EQ(line.quiet, c.quiet) << c.arguments;
    EXPECT_EQ(line.hasFolder, c.folder != nullptr) << c.arguments;
    EXPECT_EQ(line.folder, c.folder ? c.folder : "") << c.arguments;
    EXPECT_FALSE(line.help);
  }
  EXPECT_TRUE(ParseCommandLine("/S /?", true).help);
  EXPECT_TRUE(ParseCommandLine("/S /?", true).quiet);
  // The scope switches, in any case and place before the folder.
  const std::pair<const char*, ScopeSwitch> scopes[] = {
      {"/S", ScopeSwitch::kNone},
      {"/allusers /S", ScopeSwitch::kAllUsers},
      {"/S /CurrentUser /D=C:\\x", ScopeSwitch::kCurrentUser},
      {"/CURRENTUSER /CURRENTUSER", ScopeSwitch::kCurrentUser},
  };
  for (const auto& [arguments, scope] : scopes) {
    EXPECT_TRUE(ParseCommandLine(arguments, true).Valid()) << arguments;
    EXPECT_EQ(ParseCommandLine(arguments, true).scope, scope) << arguments;
  }
}

// A run started again with administrator rights gets exactly the choices made before.
TEST(CommandLineTest, HandOverKeepsEveryChoice) {
  for (const char* arguments : {"/S /ALLUSERS", "/ALLUSERS /INSTALL /RUN /D=C:\\A  B\\Pel ", "/S /D=C:\\Apps",
                                "/CURRENTUSER /INSTALL /D=\"C:\\x /S\""}) {
    const CommandLine line = ParseCommandLine(arguments, true);
    const CommandLine again = ParseCommandLine(HandOverArguments(line), true);
    EXPECT_TRUE(again.Valid()) << arguments;
    EXPECT_EQ(again.quiet, line.quiet) << arguments;
    EXPECT_EQ(again.scope, line.scope) << arguments;
    EXPECT_EQ(again.chosen, line.chosen) << arguments;
    EXPECT_EQ(again.runAfter, line.runAfter) << arguments;
    EXPECT_EQ(again.folder, line.folder) << arguments;
  }
}

TEST(CommandLineTest, UnknownSwitchesAreNamed) {
  const std::pair<const char*, const char*> cases[] = {
      {"/X", "/X"}, {"/S /Silent", "/Silent"}, {"/S setup", "setup"}, {"/S /D=", "/D="},
      {"/S /D=\"  \"", "/D=\"  \""}, {"/? /Q /R", "/Q"}, {"\"\"", "\"\""},
      {"/ALLUSERS /CURRENTUSER /S", "/CURRENTUSER"}, {"/ALLUSERS /S /D=", "/D="},
  };
  for (const auto& [arguments, unknown] : cases) EXPECT_EQ(ParseCommandLine(arguments, true).unknown, unknown) << arguments;
  // A stray word before "/D=" rejects the line, and no folder comes with it.
  const CommandLine stray = ParseCommandLine("setup /D=C:\\x", true);
  EXPECT_EQ(stray.unknown, "setup");
  EXPECT_FALSE(stray.hasFolder);
  EXPECT_EQ(stray.folder, "");
  // The uninstaller takes no folder.
  EXPECT_EQ(ParseCommandLine("/S /D=C:\\x", false).unknown, "/D=C:\\x");
  EXPECT_EQ(ParseCommandLine("/S /ALLUSERS", false).unknown, "/ALLUSERS");
  EXPECT_TRUE(ParseCommandLine("/S", false).Valid());
}

}  // namespace
}  // namespace pelorin
