#include "ConfigWriter.h"

#include <gtest/gtest.h>

#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

TEST(ReplaceSetaName, RebuildsTheNameLineWithAClosedQuote) {
  struct Case {
    const char* line;
    const char* written;
  } cases[] = {
      {"seta name \"Player\"", "seta name \"^1Neo\""},
      {"  seta name \"Player\"", "  seta name \"^1Neo\""},
      // An unquoted old value is dropped whole; no letter of it survives.
      {"seta name Player", "seta name \"^1Neo\""},
      {"seta name \"Player\" // old", "seta name \"^1Neo\""},
      {"seta name2 \"x\"", "seta name \"^1Neo\""},  // a plain substring match
      {"SETA NAME \"Player\"", "SETA NAME \"Player\""},
      {"Seta Name \"Player\"", "Seta Name \"Player\""},
      {"seta model \"sarge\"", "seta model \"sarge\""},
      {"", ""},
      // One line of an LF-only file: the LF and everything after it stay.
      {"seta name \"Player\"\nseta rate \"3000\"\n", "seta name \"^1Neo\"\nseta rate \"3000\"\n"},
      {"seta name Player\nseta name \"Two\"\n", "seta name \"^1Neo\"\nseta name \"Two\"\n"},
      {"bind x say\nseta name \"P\"\n", "bind x say\nseta name \"^1Neo\"\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceSetaName(c.line, "^1Neo"), c.written) << c.line;
}

TEST(ReplaceSetaName, EmptyNameLeavesAnEmptyQuotedValue) {
  EXPECT_EQ(ReplaceSetaName("seta name \"x\"", ""), "seta name \"\"");
}

TEST(NameFitsConfigLine, RefusesLineBreaksAndQuotes) {
  EXPECT_TRUE(NameFitsConfigLine("^1Neo ^7the one;\\x\x7f\xe9"));
  EXPECT_TRUE(NameFitsConfigLine(""));
  EXPECT_FALSE(NameFitsConfigLine("a\rb"));
  EXPECT_FALSE(NameFitsConfigLine("a\nb"));
  EXPECT_FALSE(NameFitsConfigLine("say \"hi"));
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
  EXPECT_FALSE(result.error);
  EXPECT_EQ(result.saved.size(), 2u);
  EXPECT_EQ(game_.Read("baseq3\\q3config.cfg"),
            "bind w \"+forward\"\r\nseta name \"^2Neo\"\r\nseta name \"^2Neo\"\r\n");
  EXPECT_EQ(game_.Read("baseq3\\autoexec.CFG"), "seta name \"^2Neo\"\r\n");
  EXPECT_EQ(game_.Read("top.cfg"), "seta name \"Top\"\r\n");
  EXPECT_EQ(game_.Read("baseq3\\deeper\\inner.cfg"), "seta name \"Inner\"\r\n");
  EXPECT_EQ(game_.Read("baseq3\\notes.txt"), "seta name \"Txt\"\r\n");
  EXPECT_FALSE(game_.Exists("baseq3\\q3config.cfg.tmp"));
}

TEST_F(SaveNameToModTest, LfOnlyFileKeepsItsLinesAndGainsOneCrLf) {
  game_.Write("baseq3\\q3config.cfg",
              "// generated\nseta name \"Player\"\nseta rate \"3000\"\nseta name \"Second\"\n");
  ASSERT_FALSE(SaveNameToMod(files_, game_.Path("baseq3"), "^1Neo").error);
  EXPECT_EQ(game_.Read("baseq3\\q3config.cfg"),
            "// generated\nseta name \"^1Neo\"\nseta rate \"3000\"\nseta name \"Second\"\n\r\n");
}

TEST_F(SaveNameToModTest, FileWithoutANameLineIsLeftAlone) {
  const std::string binary("seta model\0\xff\r\x01", 15);
  game_.Write("baseq3\\other.cfg", binary);
  game_.Write("baseq3\\lf.cfg", "seta rate \"1\"\n");
  const ModSaveResult result = SaveNameToMod(files_, game_.Path("baseq3"), "x");
  EXPECT_FALSE(result.error);
  EXPECT_TRUE(result.saved.empty());
  EXPECT_EQ(game_.Read("baseq3\\other.cfg"), binary);
  EXPECT_EQ(game_.Read("baseq3\\lf.cfg"), "seta rate \"1\"\n");
}

TEST_F(SaveNameToModTest, ModWithoutConfigFilesIsVisitedQuietly) {
  game_.MakeFolder("cpma");
  const ModSaveResult result = SaveNameToMod(files_, game_.Path("cpma"), "x");
  EXPECT_FALSE(result.error);
  EXPECT_TRUE(result.saved.empty());
}

TEST_F(SaveNameToModTest, FailuresKeepTheOriginalBytesAndLeaveNoTemporaryFile) {
  const std::string original = "seta name \"Old\"\r\nseta rate \"1\"\r\n";
  struct Fault {
    const char* what;
    void (*arm)(testing::FaultyFileSystem&, const std::string& folder);
  } faults[] = {
      {"read-only file", [](testing::FaultyFileSystem& f, const std::string& folder) {
         f.readOnlyFiles.insert(folder + "\\q3config.cfg");
       }},
      {"unwritable folder", [](testing::FaultyFileSystem& f, const std::string& folder) {
         f.unwritableFolders.insert(folder);
       }},
      {"full disk", [](testing::FaultyFileSystem& f, const std::string&) { f.diskFull = true; }},
      {"failed replace", [](testing::FaultyFileSystem& f, const std::string&) { f.replaceFails = true; }},
  };
  for (const auto& fault : faults) {
    testing::TempFolder game;
    testing::FaultyFileSystem files;
    game.Write("baseq3\\q3config.cfg", original);
    fault.arm(files, game.Path("baseq3"));
    const ModSaveResult result = SaveNameToMod(files, game.Path("baseq3"), "^1Neo");
    EXPECT_TRUE(result.error) << fault.what;
    EXPECT_TRUE(result.saved.empty()) << fault.what;
    EXPECT_EQ(game.Read("baseq3\\q3config.cfg"), original) << fault.what;
    EXPECT_FALSE(game.Exists("baseq3\\q3config.cfg.tmp")) << fault.what;
  }
}

TEST_F(SaveNameToModTest, MissingFolderIsReportedAsPathNotFound) {
  const ModSaveResult result = SaveNameToMod(files_, game_.Path("gone"), "x");
  EXPECT_EQ(result.error.kind, FileError::Kind::kPathNotFound);
}

}  // namespace
}  // namespace pelorin
