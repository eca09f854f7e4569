#include "PrintName.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <string>

#include "Str.h"
#include <vector>

#include "NameColours.h"

namespace pelorin {
namespace {

constexpr Pixel kRed = kPalette[1];
constexpr Pixel kGreen = kPalette[2];
constexpr Pixel kBlue = kPalette[4];
constexpr Pixel kUnpainted = MakePixel(1, 2, 3);

// A sheet in which every cell spells its own code: bit k of the code lights pixel (k, 0),
// and pixel (15, 15) is always lit, so a copied block tells which cell it came from.
GlyphSheet CodedSheet() {
  GlyphSheet sheet;
  for (int code = 0; code < 128; ++code) {
    const int left = 16 * (code % 16), top = 16 * (code / 16);
    for (int bit = 0; bit < 7; ++bit) sheet.SetGlyph(left + bit, top, (code >> bit) & 1);
    sheet.SetGlyph(left + 15, top + 15, true);
  }
  return sheet;
}

struct Cell {
  int code;  // -1: a solid block, as codes 128 to 255 give
  Pixel colour;
  bool operator==(const Cell&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Cell& cell) {
  return out << "{code " << cell.code << ", colour " << std::hex << cell.colour << std::dec << "}";
}

Cell ReadCell(const PixelSurface& surface, int column, int top) {
  const int left = 16 * column;
  const Pixel ink = surface.At(left + 15, top + 15);
  bool solid = true;
  for (int y = top; y < top + 16; ++y)
    for (int x = left; x < left + 16; ++x) solid = solid && surface.At(x, y) == ink;
  if (solid) return {-1, ink};
  int code = 0;
  for (int bit = 0; bit < 7; ++bit)
    if (surface.At(left + bit, top) == ink) code |= 1 << bit;
  return {code, ink};
}

bool BandIsClear(const PixelSurface& surface, int fromColumn, int top) {
  for (int y = top; y < top + 16; ++y)
    for (int x = 16 * fromColumn; x < surface.Width(); ++x)
      if (surface.At(x, y) != kBandColour) return false;
  return true;
}

class PrintNameTest : public ::testing::Test {
 protected:
  GlyphSheet sheet_ = CodedSheet();
  GlyphCanvas canvas_{sheet_};
  PixelBuffer target_{268, 64, kUnpainted};

  std::vector<Cell> Draw(const pelorin::String& name, std::int16_t top = 0) {
    PrintName(target_, canvas_, name, top);
    std::vector<Cell> cells;
    for (int column = 0; column < 16 && !BandIsClear(target_, column, top); ++column)
      cells.push_back(ReadCell(target_, column, top));
    return cells;
  }
};

// Each row as the game's CG_DrawStringExt draws it: Q_IsColorString takes a caret and any
// character but a caret or the end as a pair, ColorIndex gives (c - '0') & 7.
TEST_F(PrintNameTest, ColourPairsAreReadAsTheGameReadsThem) {
  constexpr Pixel kBlack = kPalette[0];
  struct Case {
    const char* name;
    std::vector<Cell> cells;
    Pixel colourAfter;
  } cases[] = {
      {"", {}, kWhite},
      {"^1Red", {{'R', kRed}, {'e', kRed}, {'d', kRed}}, kRed},
      {"^4Bl^7!", {{'B', kBlue}, {'l', kBlue}, {'!', kWhite}}, kWhite},
      {"^8x", {{'x', kBlack}}, kBlack},
      {"^9x", {{'x', kRed}}, kRed},
      {"^ax^Cy^zw", {{'x', kRed}, {'y', kYellow}, {'w', kPalette[2]}}, kPalette[2]},
      {"^8A^cB^^4C", {{'A', kBlack}, {'B', kYellow}, {'^', kYellow}, {'C', kBlue}}, kBlue},
      {"^^x", {{'^', kWhite}}, kBlack},  // the second caret and x are a pair: black
      {"abc^", {{'a', kWhite}, {'b', kWhite}, {'c', kWhite}, {'^', kWhite}}, kWhite},
      {"^", {{'^', kWhite}}, kWhite},
      {"a^1", {{'a', kWhite}}, kRed},
      {"^1^2x", {{'x', kGreen}}, kGreen},
      {"^ x", {{'x', kBlack}}, kBlack},
      {"^\xe9x", {{'x', kRed}}, kRed},  // (0xE9 - '0') & 7 = 1, whether char is signed or not
      {" \";\\", {{' ', kWhite}, {'"', kWhite}, {';', kWhite}, {'\\', kWhite}}, kWhite},
      {"^2\xe9\xff", {{-1, kGreen}, {-1, kGreen}}, kGreen},
  };
  for (const auto& c : cases) {
    canvas_.SetColour(kWhite);
    EXPECT_EQ(Draw(c.name), c.cells) << '"' << c.name << '"';
    EXPECT_EQ(canvas_.Colour(), c.colourAfter) << '"' << c.name << '"';
  }
}

TEST_F(PrintNameTest, ClearsOnlyItsOwnBandAcrossTheFullWidth) {
  Draw("abcdefghijklmnop", 16);
  Draw("x", 16);
  EXPECT_EQ(ReadCell(target_, 0, 16), (Cell{'x', kWhite}));
  EXPECT_TRUE(BandIsClear(target_, 1, 16));
  for (int x = 0; x < target_.Width(); ++x) {
    EXPECT_EQ(target_.At(x, 15), kUnpainted);
    EXPECT_EQ(target_.At(x, 32), kUnpainted);
  }
}

TEST_F(PrintNameTest, LongNamesAreCutAtTheRightEdge) {
  const pelorin::String name(20, 'W');
  Draw(name);
  // 16 whole columns and the first 12 pixel columns of the 17th fit into 268 pixels.
  EXPECT_EQ(ReadCell(target_, 15, 0), (Cell{'W', kWhite}));
  EXPECT_EQ(target_.At(256, 0), kWhite);  // bit 0 of 'W' (87) is lit
  EXPECT_EQ(target_.Width(), 268);
}

TEST_F(PrintNameTest, ColourCarriesFromOneHistoryRowToTheNext) {
  canvas_.SetColour(kWhite);
  Draw("^1a", 0);
  EXPECT_EQ(ReadCell(target_, 0, 16 * 1), (Cell{-1, kUnpainted}));
  Draw("b", 16);
  EXPECT_EQ(ReadCell(target_, 0, 16), (Cell{'b', kRed}));
}

TEST_F(PrintNameTest, ColumnsBeyondTheSixteenBitRangeAreSkipped) {
  PixelBuffer wide(32800, 16, kUnpainted);
  const pelorin::String name(2100, 'a');
  PrintName(wide, canvas_, name, 0);
  EXPECT_EQ(ReadCell(wide, 2046, 0), (Cell{'a', kWhite}));  // column 2047 is drawn
  EXPECT_EQ(wide.At(16 * 2047 + 15, 15), kBandColour);      // column 2048 is not
}

TEST_F(PrintNameTest, CanvasShowsGlyphsInTheCurrentColourOverTheBand) {
  canvas_.SetColour(kGreen);
  const PixelSurface& surface = canvas_.Surface();
  EXPECT_EQ(surface.At(15, 15), kGreen);   // glyph pixel of cell 0
  EXPECT_EQ(surface.At(3, 3), kBandColour);
  EXPECT_EQ(surface.At(100, 200), kGreen);  // below the sheet
  EXPECT_EQ(surface.At(259, 263), kGreen);
}

}  // namespace
}  // namespace pelorin
