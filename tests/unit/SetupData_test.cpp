#include "SetupData.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "support/ImageHead.h"

namespace pelorin {
namespace {

TEST(SetupData, TrailerRoundTripsAndDescribesTheShippedLayout) {
  const Trailer shipped{110593, 345, 110938, 345255};
  const String text = FormatTrailer(shipped);
  ASSERT_EQ(text.size(), 272u);
  EXPECT_EQ(text.substr(0, 16), "TANNERSHOALSDATA");
  EXPECT_EQ(text.substr(16, 64), "110593" + String(58, ' '));
  const auto parsed = ParseTrailer(text, 456465);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->listPosition, 110593u);
  EXPECT_EQ(parsed->listLength, 345u);
  EXPECT_EQ(parsed->dataPosition, 110938u);
  EXPECT_EQ(parsed->dataLength, 345255u);
}

TEST(SetupData, DamagedTrailersAreRefused) {
  const String good = FormatTrailer({11, 5, 16, 10});
  EXPECT_TRUE(ParseTrailer(good, 26 + 272));
  EXPECT_TRUE(ParseTrailer(good, 25 + 272));   // the data copy ends right before the trailer
  EXPECT_FALSE(ParseTrailer(good, 24 + 272));  // the data copy would reach into the trailer
  EXPECT_FALSE(ParseTrailer(good, 100));        // a file shorter than a trailer

  auto withField = [&](int index, const String& value) {
    String text = good;
    String field = value;
    field.resize(64, ' ');
    text.replace(16 + 64 * index, 64, field);
    return text;
  };
  for (const String& bad : {String("x"), String("-5"), String("1e3"),
                                 String("0x10"), String(""), String("12 3"),
                                 String("99999999999999999999")}) {
    EXPECT_FALSE(ParseTrailer(withField(0, bad), 1 << 20)) << bad;
  }
  EXPECT_FALSE(ParseTrailer(withField(0, "0"), 1 << 20));  // positions count from 1
  EXPECT_FALSE(ParseTrailer(withField(3, "18446744073709551615"), 1 << 20));
  String wrongMagic = good;
  wrongMagic[0] = 't';
  EXPECT_FALSE(ParseTrailer(wrongMagic, 1 << 20));
  EXPECT_FALSE(ParseTrailer(good.substr(1), 1 << 20));
}

// A signed file's trailer ends where the certificate table begins; a table that does not end
// the file is damaged data.
TEST(SetupData, TheTrailerEndsBeforeACertificateTableThatEndsTheFile) {
  using testing::ImageHead;
  const String cut = ImageHead(1000, 200).substr(0, 0x80 + 24 + 96 + 4 * 8 + 4);
  const struct {
    const char* why;
    String head;
    std::uint64_t fileSize;
    std::optional<std::uint64_t> end;
  } cases[] = {
      {"no image", "just bytes", 1200, 1200},
      {"an image without a PE header", "MZ" + String(100, '\0'), 1200, 1200},
      {"no table named", ImageHead(0, 0), 1200, 1200},
      {"a table that ends the file", ImageHead(1000, 200), 1200, 1000},
      {"the same in a 64-bit image", ImageHead(1000, 200, true), 1200, 1000},
      {"too few directories to name one", ImageHead(1000, 200, false, 4), 1300, 1300},
      {"headers cut before the entry", cut, 1300, 1300},
      {"bytes after the table", ImageHead(1000, 200), 1300, std::nullopt},
      {"a table past the end", ImageHead(1000, 200), 1100, std::nullopt},
      {"a table size without a place", ImageHead(0, 200), 1200, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(TrailerEnd(c.head, c.fileSize), c.end) << c.why;
}

// The length is written in decimal without 64-bit division: lengths past 32 bits and past
// sixteen digits (cut to the field) come out as the library writes them.
TEST(SetupData, RemovalMarkWritesItsLengthInSixteenPlaces) {
  for (const std::uint64_t length : {std::uint64_t{0}, std::uint64_t{9}, std::uint64_t{10}, std::uint64_t{131072},
                                     std::uint64_t{4294967295u}, std::uint64_t{4294967296u},
                                     std::uint64_t{9999999999999999u}, std::uint64_t{18446744073709551615u}}) {
    String field = std::to_string(length);
    field.resize(16, ' ');
    EXPECT_EQ(FormatRemovalMark(length), "PELORIN-REMOVAL:" + field) << length;
    EXPECT_TRUE(IsRemovalMark(FormatRemovalMark(length), length)) << length;
  }
}

TEST(SetupData, FlagsCountWhenTheirLeadingNumberIsNotZero) {
  EXPECT_TRUE(IsFlagSet(" 1 "));
  EXPECT_TRUE(IsFlagSet("2"));
  EXPECT_TRUE(IsFlagSet("  -1"));
  EXPECT_TRUE(IsFlagSet("0.6"));
  EXPECT_FALSE(IsFlagSet(" 0 "));
  EXPECT_FALSE(IsFlagSet("0.5"));  // rounds to the even 0
  EXPECT_FALSE(IsFlagSet(""));
  EXPECT_FALSE(IsFlagSet("yes"));
}

TEST(SetupData, SetupInformationReadsTenLinesWithDefaults) {
  const SetupInfo shipped = ParseSetupInfo(
      "Pelorin\r\n1.2 (build 16)\r\nBrackwater\r\n 1 \r\n 0 \r\n\r\n 1 \r\n 1 \r\nPelorin.exe\r\n 0 \r\n");
  EXPECT_EQ(shipped.appName, "Pelorin");
  EXPECT_EQ(shipped.appVersion, "1.2 (build 16)");
  EXPECT_EQ(shipped.appCompany, "Brackwater");
  EXPECT_TRUE(shipped.showLicence);
  EXPECT_FALSE(shipped.useFixedPath);
  EXPECT_EQ(shipped.fixedPath, "");
  EXPECT_TRUE(shipped.runAfterInstall);
  EXPECT_EQ(shipped.mainExe, "Pelorin.exe");
  EXPECT_EQ(shipped.noUninstall, 0);

  const SetupInfo none = ParseSetupInfo("");
  EXPECT_EQ(none.appName, "(untitled)");
  EXPECT_EQ(none.appVersion, "?.?");
  EXPECT_EQ(none.appCompany, "(no one)");
  EXPECT_FALSE(none.showLicence);

  const SetupInfo shortFile = ParseSetupInfo("App\r\n2.0\r\n");
  EXPECT_EQ(shortFile.appVersion, "2.0");
  EXPECT_EQ(shortFile.appCompany, "(no one)");
  EXPECT_EQ(ParseSetupInfo("a\r\nb\r\nc\r\n0\r\n0\r\n\r\n0\r\n0\r\n\r\nlots\r\n").noUninstall, 0);
  EXPECT_EQ(ParseSetupInfo("a\r\nb\r\nc\r\n0\r\n0\r\n\r\n0\r\n0\r\n\r\n3\r\n").noUninstall, 3);
}

TEST(SetupData, ShortcutListKeepsTenLinesAtMost) {
  String text;
  for (int i = 0; i < 12; ++i) text += "link" + std::to_string(i) + "\xFF" "a.exe\xFE" "Programs\\\r\n";
  const auto lines = ParseShortcutLines(text);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[9], "link9\xFF" "a.exe\xFE" "Programs\\");
  EXPECT_TRUE(ParseShortcutLines("").empty());
}

}  // namespace
}  // namespace pelorin
