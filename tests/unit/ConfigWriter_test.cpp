#include "ConfigWriter.h"

#include "GameFolder.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

using namespace std::string_literals;

// Each row: a file as a player may have it, and the bytes written for the name ^1Neo ("" for
// a file that is not written). The engine function that each rule follows is named.
TEST(ReplaceSetaName, ChangesOnlyTheValueOfWhatTheEngineExecutesAsANameCommand) {
  struct Case {
    String text;
    String written;
  } cases[] = {
      // Cbuf_Execute: CR and LF end a command; the file's line ends and its last line stay.
      {"seta name \"Old\"\r\nseta rate \"25000\"\r\n", "seta name \"^1Neo\"\r\nseta rate \"25000\"\r\n"},
      {"bind F5 \"seta name ^1Clan\"\nseta name \"Old\"\nseta model \"sarge\"",
       "bind F5 \"seta name ^1Clan\"\nseta name \"^1Neo\"\nseta model \"sarge\""},
      // Cbuf_Execute: ";" outside quotation marks ends a command, inside it is the bind's text.
      {"seta name \"A\"; seta rate 1\r\n", "seta name \"^1Neo\"; seta rate 1\r\n"},
      {"alias n1 \"seta name One; say hi\"\r\nbind x \"name Two\"\r\n", ""},
      // Cmd_TokenizeString: a comment after the value stays, one before a command hides it.
      {"seta name \"Old\" // mine\n", "seta name \"^1Neo\" // mine\n"},
      {"// seta name \"Old\"\n/* seta name\n\"Old\" */ seta rate 1\n", ""},
      {"seta name Old//x\n", "seta name \"^1Neo\"//x\n"},
      // Cvar_Set_f: set, sets, setu and seta with "name" and a value, in any letter case;
      // every argument after the name is the value. Cvar_Command: the bare cvar name too.
      {"SET NAME \"Old\"\nsets Name x y  z \nsetu name \"\"\nname ^3Old\n",
       "SET NAME \"^1Neo\"\nsets Name \"^1Neo\" \nsetu name \"^1Neo\"\nname \"^1Neo\"\n"},
      {"seta name2 \"alt\"\nseta name\nnames x\nseta nam \"e\"\n", ""},
      // Cmd_TokenizeString: a quoted value that is not closed runs to the end of its command.
      {"seta name \"Old; seta rate 1\r\nseta sex male\r\n", "seta name \"^1Neo\"\r\nseta sex male\r\n"},
      // Cmd_Exec_f: the engine reads a file up to its first zero byte.
      {"seta name \"Old\"\n\0seta name \"Dead\"\n"s, "seta name \"^1Neo\"\n\0seta name \"Dead\"\n"s},
      // Cbuf_Execute: a command longer than the engine reads is never half rewritten; another
      // long command stays as it is.
      {"seta name \"" + String(1100, 'x') + "\"\n", ""},
      {"bind x \"" + String(1100, 'x') + "\"\nseta name \"Old\"", "bind x \"" + String(1100, 'x') + "\"\nseta name \"^1Neo\""},
      // Cvar_Command: a bare `name` sets the cvar only once a set command (or toggle) made
      // it; unset and cvar_restart take it away again.
      {"name \"Old\"\nseta name \"A\"\nname B\nunset name\nname C\n", "name \"Old\"\nseta name \"^1Neo\"\nname \"^1Neo\"\nunset name\nname C\n"},
      {"toggle name A B\nname C; cvar_restart; name D\n", "toggle name A B\nname \"^1Neo\"; cvar_restart; name D\n"},
      {"name \"Old\"\n", ""},
      // Cmd_Vstr_f: the inserted "/*" opens a comment that swallows the name command.
      {"seta v \"echo /*\"\nvstr v\nseta name a*/b\nseta cl_run 1\n", ""},
      {"seta v \"seta name Old\"\nvstr v\nseta name Mine\n", "seta v \"seta name Old\"\nvstr v\nseta name \"^1Neo\"\n"},
  };
  for (const auto& c : cases) {
    const NameEdit edit = ReplaceSetaName(c.text, "^1Neo");
    EXPECT_EQ(edit.text, c.written) << c.text;
  }
  EXPECT_EQ(ReplaceSetaName("seta name \"" + String(1100, 'x') + "\"\n", "n").result, NameEdit::Result::kRefused);
  EXPECT_EQ(ReplaceSetaName("seta name \"x\"", "").text, "seta name \"\"");
  // The engine reads a command of 1023 bytes whole.
  const String longest(1010, 'y');
  EXPECT_EQ(ReplaceSetaName("seta  name \"Old\"\n", longest).text, "seta  name \"" + longest + "\"\n");
  EXPECT_EQ(ReplaceSetaName("seta   name \"Old\"\n", longest).result, NameEdit::Result::kRefused);
  // Where the name is run as commands, a new one would run others; a vstr loop never ends.
  EXPECT_EQ(ReplaceSetaName("seta name \"echo hi\"\nvstr name\n", "n").result, NameEdit::Result::kRefused);
  EXPECT_EQ(ReplaceSetaName("seta v \"vstr v\"\nvstr v\nseta name x\n", "n").result, NameEdit::Result::kRefused);
}

// A file without a name command gets one that the engine executes last, in its own line ends.
TEST(AddSetaName, AddsALastLineTheEngineExecutes) {
  struct Case {
    String text;
    String written;
  } cases[] = {
      {"", "seta name \"^1Neo\"\r\n"},
      {"seta rate \"25000\"\n", "seta rate \"25000\"\nseta name \"^1Neo\"\n"},
      {"seta rate \"25000\"\r\nbind x \"+attack\"", "seta rate \"25000\"\r\nbind x \"+attack\"\r\nseta name \"^1Neo\""},
      {"bind x \"say ;", "bind x \"say ;\r\nseta name \"^1Neo\""},
      // A comment left open at the end would hide a last line: the name goes first.
      {"seta rate 1\n/* to the end", "seta name \"^1Neo\"\nseta rate 1\n/* to the end"},
      {"seta rate 1\n\0junk"s, "seta rate 1\nseta name \"^1Neo\"\n\0junk"s},
      // The name that a vstr sets is set again after it.
      {"seta v \"seta name Old\"\nvstr v\n", "seta v \"seta name Old\"\nvstr v\nseta name \"^1Neo\"\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(AddSetaName(c.text, "^1Neo"), c.written) << c.text;
}

TEST(NameFitsConfigLine, RefusesLineBreaksAndQuotes) {
  EXPECT_TRUE(NameFitsConfigLine("^1Neo ^7the one;\\x\x7f\xe9"));
  EXPECT_TRUE(NameFitsConfigLine(""));
  EXPECT_FALSE(NameFitsConfigLine("a\rb"));
  EXPECT_FALSE(NameFitsConfigLine("a\nb"));
  EXPECT_FALSE(NameFitsConfigLine("say \"hi"));
  EXPECT_FALSE(NameFitsConfigLine("a\0b"s));  // the engine would read no further in the file
  EXPECT_TRUE(NameFitsConfigLine(String(1011, 'x')));
  EXPECT_FALSE(NameFitsConfigLine(String(1012, 'x')));
}

class SaveNameToModTest : public ::testing::Test {
 protected:
  testing::TempFolder game_;
  testing::FaultyFileSystem files_;
};

TEST_F(SaveNameToModTest, RewritesEveryConfigFileOfTheModOnly) {
  game_.Write("quake3.exe", "");
  game_.Write("top.cfg", "seta name \"Top\"\r\n");
  game_.Write("baseq3\\q3config.cfg", "bind w \"+forward\"\r\nseta name \"Old\"\r\nseta name \"Again\"\r\n");
  game_.Write("baseq3\\autoexec.CFG", "seta name2 \"x\"\r\n");
  game_.Write("baseq3\\deeper\\inner.cfg", "seta name \"Inner\"\r\n");
  game_.Write("baseq3\\notes.txt", "seta name \"Txt\"\r\n");

  const ModSaveResult result = SaveNameToMod(files_, game_.Path("baseq3"), "^2Neo");
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(result.saved, std::vector<String>{"q3config.cfg"});
  EXPECT_EQ(game_.Read("baseq3\\q3config.cfg"),
            "bind w \"+forward\"\r\nseta name \"^2Neo\"\r\nseta name \"^2Neo\"\r\n");
  EXPECT_EQ(game_.Read("baseq3\\autoexec.CFG"), "seta name2 \"x\"\r\n");
  EXPECT_EQ(game_.Read("top.cfg"), "seta name \"Top\"\r\n");
  EXPECT_EQ(game_.Read("baseq3\\deeper\\inner.cfg"), "seta name \"Inner\"\r\n");
  EXPECT_EQ(game_.Read("baseq3\\notes.txt"), "seta name \"Txt\"\r\n");
  EXPECT_FALSE(game_.Exists("baseq3\\q3config.cfg.tmp"));
}

// The engine executes q3config.cfg, then autoexec.cfg: when neither sets the name,
// q3config.cfg gets a name line; baseq3 gets a q3config.cfg when it has none. Backups that a
// "*.cfg" listing returns through their short names are no configuration files.
TEST_F(SaveNameToModTest, TheGameStartsWithTheNameWhereNoStartFileSetsIt) {
  const String binary("seta model\0\xff\r\x01", 15);
  game_.Write("baseq3\\other.cfg", binary);
  game_.Write("baseq3\\autoexec.cfg_old", "seta name \"Backup\"\n");
  files_.cfgAliases.insert(game_.Path("baseq3\\autoexec.cfg_old"));
  game_.Write("baseq3\\q3config.cfg", "seta rate \"25000\"\n");
  game_.Write("cpma\\autoexec.cfg", "name \"^3Old\"\n");
  game_.Write("cpma\\q3config.cfg", "seta rate \"1\"\n");
  game_.Write("osp\\q3config.cfg", "seta rate \"1\"");
  game_.Write("q3e\\q3config.cfg", "seta name \"Old\"\n");
  game_.Write("q3e\\autoexec.cfg", "seta v \"name Old\"\nvstr v\n");
  game_.MakeFolder("missionpack");

  for (const char* mod : {"baseq3", "cpma", "osp", "q3e", "missionpack"}) {
    const ModSaveResult result = SaveNameToMod(files_, game_.Path(mod), "x");
    EXPECT_TRUE(result.failures.empty()) << mod;
  }
  EXPECT_EQ(game_.Read("baseq3\\q3config.cfg"), "seta rate \"25000\"\nseta name \"x\"\n");
  EXPECT_EQ(game_.Read("baseq3\\other.cfg"), binary);
  EXPECT_EQ(game_.Read("baseq3\\autoexec.cfg_old"), "seta name \"Backup\"\n");
  // Its bare `name` counts once q3config.cfg makes the cvar.
  EXPECT_EQ(game_.Read("cpma\\autoexec.cfg"), "name \"x\"\n");
  EXPECT_EQ(game_.Read("cpma\\q3config.cfg"), "seta rate \"1\"\nseta name \"x\"\n");
  EXPECT_EQ(game_.Read("osp\\q3config.cfg"), "seta rate \"1\"\r\nseta name \"x\"");
  // A vstr that sets the name last is followed by a line of its own.
  EXPECT_EQ(game_.Read("q3e\\q3config.cfg"), "seta name \"x\"\n");
  EXPECT_EQ(game_.Read("q3e\\autoexec.cfg"), "seta v \"name Old\"\nvstr v\nseta name \"x\"\n");
  EXPECT_FALSE(game_.Exists("missionpack\\q3config.cfg"));

  // A home path's baseq3 that holds only a backup.
  testing::TempFolder home;
  home.Write("baseq3\\autoexec.cfg_old", "");
  files_.cfgAliases.insert(home.Path("baseq3\\autoexec.cfg_old"));
  std::vector<String> mods;
  ASSERT_FALSE(ModsWithConfigs(files_, home.Path(), mods));
  EXPECT_TRUE(mods.empty()) << "a folder of backups only is no mod";
  EXPECT_TRUE(SaveNameToMod(files_, home.Path("baseq3"), "y").failures.empty());
  EXPECT_EQ(home.Read("baseq3\\q3config.cfg"), "seta name \"y\"\r\n");
}

TEST_F(SaveNameToModTest, FailuresKeepTheOriginalBytesAndLeaveNoTemporaryFile) {
  const String original = "seta name \"Old\"\r\nseta rate \"1\"\r\n";
  struct Fault {
    const char* what;
    void (*arm)(testing::FaultyFileSystem&, const String& folder);
  } faults[] = {
      {"read-only file", [](testing::FaultyFileSystem& f, const String& folder) {
         f.readOnlyFiles.insert(folder + "\\q3config.cfg");
       }},
      {"unwritable folder", [](testing::FaultyFileSystem& f, const String& folder) {
         f.unwritableFolders.insert(folder);
       }},
      {"full disk", [](testing::FaultyFileSystem& f, const String&) { f.diskFull = true; }},
      {"failed replace", [](testing::FaultyFileSystem& f, const String&) { f.replaceFails = true; }},
  };
  for (const auto& fault : faults) {
    testing::TempFolder game;
    testing::FaultyFileSystem files;
    game.Write("baseq3\\q3config.cfg", original);
    fault.arm(files, game.Path("baseq3"));
    const ModSaveResult result = SaveNameToMod(files, game.Path("baseq3"), "^1Neo");
    ASSERT_EQ(result.failures.size(), 1u) << fault.what;
    EXPECT_EQ(result.failures[0].path, game.Path("baseq3") + "\\q3config.cfg") << fault.what;
    EXPECT_TRUE(result.saved.empty()) << fault.what;
    EXPECT_EQ(game.Read("baseq3\\q3config.cfg"), original) << fault.what;
    EXPECT_FALSE(game.Exists("baseq3\\q3config.cfg.tmp")) << fault.what;
  }
}

TEST_F(SaveNameToModTest, MissingFolderIsReportedAsPathNotFound) {
  const ModSaveResult result = SaveNameToMod(files_, game_.Path("gone"), "x");
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].error.kind, FileError::Kind::kPathNotFound);
}

}  // namespace
}  // namespace pelorin
