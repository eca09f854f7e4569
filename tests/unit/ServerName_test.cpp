#include "ServerName.h"

#include <gtest/gtest.h>

namespace pelorin {
namespace {

TEST(ServerName, AppliesTheServersRuleAndSaysWhatChanged) {
  const std::string a33(33, 'a'), a34(34, 'a'), a35(35, 'a');
  struct Case {
    std::string coded;
    std::string shown;
    bool cut, black, spaces, unnamed;
  } cases[] = {
      {"^1Neo^7!", "^1Neo^7!", false, false, false, false},
      {a35, a35, false, false, false, false},
      {"^0Dark^7Fox", "Dark^7Fox", false, true, false, false},
      {"^8x^Hy^px", "xyx", false, true, false, false},
      {"^^0b!", "^b!", false, true, false, false},  // the first caret pairs with b once ^0 is gone
      {"^9z^!", "^9z^!", false, false, false, false},    // 9 is no black; ! opens no pair
      {a34 + "^1b", a34 + "^", true, false, false, false},  // cut inside a colour pair
      {a33 + "^1bc", a33 + "^1", true, false, false, false},  // cut right after one
      {"a    b", "a   b", false, false, true, false},
      {"  Neo", "Neo", false, false, true, false},
      {"^1^2", kUnnamedPlayer, false, false, false, true},
      {"^0", kUnnamedPlayer, false, true, false, true},
      {"   ", kUnnamedPlayer, false, false, true, true},
      {"", kUnnamedPlayer, false, false, false, true},
  };
  for (const auto& c : cases) {
    const ServerName server = ServerNameOf(c.coded);
    EXPECT_EQ(server.name, c.shown) << c.coded;
    EXPECT_EQ(server.cut, c.cut) << c.coded;
    EXPECT_EQ(server.blackRemoved, c.black) << c.coded;
    EXPECT_EQ(server.spaces, c.spaces) << c.coded;
    EXPECT_EQ(server.unnamed, c.unnamed) << c.coded;
    EXPECT_EQ(server.Changed(), c.cut || c.black || c.spaces || c.unnamed) << c.coded;
  }
}

TEST(ServerName, GivesOneReasonLinePerChangeAndCountsBytesAgainstTheLimit) {
  EXPECT_EQ(LengthAgainstLimit(std::string(40, 'x')), "40/35");
  EXPECT_EQ(LengthAgainstLimit(""), "0/35");
  EXPECT_EQ(ServerNameReasons(ServerNameOf("^1Neo")), "");
  const std::string reasons = ServerNameReasons(ServerNameOf(" ^0" + std::string(40, 'x')));
  EXPECT_EQ(reasons,
            "It is longer than 35 characters, colour codes included: the rest is cut off.\r\n"
            "Black is not allowed in names: its colour codes are removed.\r\n"
            "Leading spaces are dropped and more than three spaces in a row are cut to three.\r\n");
}

}  // namespace
}  // namespace pelorin
