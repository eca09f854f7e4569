#include "ServerName.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

const String kRefused = "Names with ; or \\ are not sent: servers show UnnamedPlayer\r\n";
const String kOverlong =
    "Names longer than 1017 characters do not fit the game's userinfo and are not sent: servers show UnnamedPlayer\r\n";
const String kDotted = "Servers show % and characters beyond plain ASCII, such as accented letters, as dots\r\n";
const String kDropped = "Servers drop players whose names hold control characters\r\n";
const String kCut = "It is longer than 35 characters, colour codes included: the rest is cut off";
const String kBlack = "Black is not allowed in names: its colour codes are removed";
const String kSpaces = "Leading spaces are dropped and more than three spaces in a row are cut to three";
const String kCaret = "A ^ at the very end is dropped";
const String kUnnamed = "Nothing but colour codes is left: the name becomes UnnamedPlayer";

String Both(const String& line) { return line + "\r\n"; }
String Original(const String& line) { return line + " (original game)\r\n"; }
String Ioquake3(const String& line) { return line + " (ioquake3)\r\n"; }

// Each row as the engine and both game modules handle it. "original" is the 1.32 game
// module's ClientCleanName, "ioquake3" ioquake3's; the engine's functions are named per row.
TEST(ServerName, FollowsTheEngineThenBothGameModules) {
  const String a33(33, 'a'), a34(34, 'a'), a35(35, 'a');
  struct Case {
    String coded;
    String original, ioquake3;
    std::size_t counted;
    bool overLimit;
    String reasons;
  } cases[] = {
      {"^1Neo^7!", "^1Neo^7!", "^1Neo^7!", 8, false, ""},
      {a35, a35, a35, 35, false, ""},
      {"^0Dark^7Fox", "Dark^7Fox", "Dark^7Fox", 9, false, Both(kBlack)},
      {"^8x^Hy^px", "xyx", "xyx", 3, false, Both(kBlack)},
      // ioquake3: the first caret pairs with b once ^0 is gone; original: ^^ is a pair.
      {"^^0b!", "^^0b!", "^b!", 5, false, Ioquake3(kBlack)},
      {"^9z^!", "^9z^!", "^9z^!", 5, false, ""},       // 9 and ! select no black
      {a34 + "^1b", a34, a34 + "^", 37, true, Both(kCut)},  // only ioquake3 splits the pair
      {a33 + "^1bc", a33 + "^1", a33 + "^1", 37, true, Both(kCut)},
      {"a    b", "a   b", "a   b", 5, false, Both(kSpaces)},
      {"  Neo", "Neo", "Neo", 3, false, Both(kSpaces)},
      {"a  ^1  b", "a  ^1 b", "a  ^1  b", 8, false, Original(kSpaces)},  // the original's pair ends no run
      {"^0 Neo", "Neo", " Neo", 4, false, Both(kBlack) + Original(kSpaces)},
      {"Neo^", "Neo", "Neo^", 4, false, Original(kCaret)},
      {"^0" + a35, a35, a35, 35, false, Both(kBlack)},
      {"^1^2", kUnnamedPlayer, kUnnamedPlayer, 4, false, Both(kUnnamed)},
      {"^0", kUnnamedPlayer, kUnnamedPlayer, 0, false, Both(kBlack) + Both(kUnnamed)},
      {"   ", kUnnamedPlayer, kUnnamedPlayer, 0, false, Both(kSpaces) + Both(kUnnamed)},
      {"", kUnnamedPlayer, kUnnamedPlayer, 0, false, Both(kUnnamed)},
      // Info_SetValueForKey's blacklist: no name is sent, whatever else it holds.
      {"Neo;1", kUnnamedPlayer, kUnnamedPlayer, 5, false, kRefused},
      {"a\\b", kUnnamedPlayer, kUnnamedPlayer, 3, false, kRefused},
      {"Neo;\x01" + a35, kUnnamedPlayer, kUnnamedPlayer, 40, true, kRefused},
      // Info_SetValueForKey: "\name\" and the name within MAX_INFO_STRING (1024) with its end.
      {String(1018, 'a'), kUnnamedPlayer, kUnnamedPlayer, 1018, true, kOverlong},
      {String(1017, 'a'), a35, a35, 1017, true, Both(kCut)},
      // MSG_ReadString.
      {"100%", "100.", "100.", 4, false, kDotted},
      {"J\xE9r\xF4me", "J.r.me", "J.r.me", 6, false, kDotted},
      // ioquake3's Info_Validate: printable characters only; the game modules keep the rest.
      {"Neo\x01", "Neo\x01", "Neo\x01", 4, false, kDropped},
      {"\x7F^1x", "\x7F^1x", "\x7F^1x", 4, false, kDropped},
  };
  for (const auto& c : cases) {
    const ServerName server = ServerNameOf(c.coded);
    const String shown = c.coded.substr(0, 40);
    EXPECT_EQ(server.original.name, c.original) << shown;
    EXPECT_EQ(server.ioquake3.name, c.ioquake3) << shown;
    EXPECT_EQ(server.counted, c.counted) << shown;
    EXPECT_EQ(server.overLimit, c.overLimit) << shown;
    EXPECT_EQ(ServerNameReasons(server), c.reasons) << shown;
    EXPECT_EQ(server.Changed(), !c.reasons.empty()) << shown;
  }
}

TEST(ServerName, NamesBothResultsOnlyWhereTheModulesDifferAndAsksUnlessOnlyBlackGoes) {
  EXPECT_FALSE(ServerNameOf("^0" + String(35, 'x')).AskBeforeSaving());
  EXPECT_FALSE(ServerNameOf("^^0b!").AskBeforeSaving());
  EXPECT_TRUE(ServerNameOf("^0").AskBeforeSaving());
  EXPECT_TRUE(ServerNameOf("Neo^").AskBeforeSaving());
  EXPECT_TRUE(ServerNameOf("100%").AskBeforeSaving());
  EXPECT_EQ(LengthAgainstLimit(ServerNameOf(String(40, 'x'))), "40/35");
  EXPECT_EQ(LengthAgainstLimit(ServerNameOf("^0" + String(35, 'x'))), "35/35");
  EXPECT_EQ(ServerNameTip(ServerNameOf("^1Neo")), "");
  EXPECT_EQ(ServerNameTip(ServerNameOf("100%")), "Game servers will show: 100.\r\n" + kDotted.substr(0, kDotted.size() - 2));
  EXPECT_EQ(ServerNameTip(ServerNameOf("Neo^")),
            "Game servers will show:\r\noriginal game: Neo\r\nioquake3: Neo^\r\n" + kCaret + " (original game)");
  EXPECT_EQ(ServerNameReasons(ServerNameOf(" ^0" + String(40, 'x'))),
            Both(kCut) + Both(kBlack) + Both(kSpaces));
}

}  // namespace
}  // namespace pelorin
