#include "TextFile.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "CodePage1252.h"
#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Text the code page holds is written in it, byte for byte as before; other text as UTF-8
// after the mark. Both read back; bytes that are neither do not.
TEST(TextFile, CodePageWhereItHoldsTheTextUtf8Otherwise) {
  const CodePage1252 codePage;
  const struct {
    String text, bytes;
  } cases[] = {
      {"C:\\Games\\Q3\r\n", "C:\\Games\\Q3\r\n"},
      {"C:\\Spi\xC3\xABle \xE2\x82\xAC\r\n", "C:\\Spi\xEBle \x80\r\n"},
      {"C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\r\n", "\xEF\xBB\xBF" "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\r\n"},
      // The full-width reverse solidus is no backslash, by best fit or otherwise.
      {"C:\\a\xEF\xBC\xBC..", "\xEF\xBB\xBF" "C:\\a\xEF\xBC\xBC.."},
      {"\xC3\xAF\xC2\xBB\xC2\xBFx", "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeTextFile(codePage, c.text), c.bytes) << c.text;
    String read;
    EXPECT_TRUE(DecodeTextFile(codePage, c.bytes, read));
    EXPECT_EQ(read, c.text);
  }
  String read;
  EXPECT_FALSE(DecodeTextFile(codePage, "\xEF\xBB\xBF" "C:\\\xFF", read));
  EXPECT_EQ(read, "");
  EXPECT_TRUE(DecodeTextFile(codePage, "\x81\x8D\x8F\x90\x9D", read));  // Windows maps them to C1 controls
  EXPECT_EQ(read, "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

// A log in the code page that gets a line the code page cannot hold is written again whole
// as UTF-8; after that, lines are added as UTF-8.
TEST(TextFile, AppendingALineTheCodePageLacksTurnsTheFileToUtf8) {
  testing::TempFolder folder;
  testing::FaultyFileSystem files;
  const String path = folder.Path("install.log");
  EXPECT_FALSE(AppendTextLine(files, path, "Pelorin \xC3\xA9"));
  EXPECT_EQ(folder.Read("install.log"), "Pelorin \xE9\r\n");
  EXPECT_FALSE(AppendTextLine(files, path, "&C:\\\xD0\x98\\P.lnk"));
  EXPECT_FALSE(AppendTextLine(files, path, "x"));
  EXPECT_EQ(folder.Read("install.log"), "\xEF\xBB\xBFPelorin \xC3\xA9\r\n&C:\\\xD0\x98\\P.lnk\r\nx\r\n");
  String text;
  EXPECT_FALSE(ReadTextFile(files, path, text));
  EXPECT_EQ(text, "Pelorin \xC3\xA9\r\n&C:\\\xD0\x98\\P.lnk\r\nx\r\n");

  folder.Write("damaged.log", "\xEF\xBB\xBF\xC0\xAF");
  EXPECT_EQ(ReadTextFile(files, folder.Path("damaged.log"), text).systemCode, 1113u);
}

}  // namespace
}  // namespace pelorin
