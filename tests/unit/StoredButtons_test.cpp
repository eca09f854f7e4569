#include "StoredButtons.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "MainWindowButtons.h"

namespace pelorin {
namespace {

PictureRef LoadFace(std::string_view name) {
  static const PictureRef face = PictureRef(new PictureObject{65, 19, std::vector<Pixel>(65 * 19, 1)});
  return name == "save_normal" ? face : nullptr;
}

TEST(StoredButtons, ReadsInstancesWithTypedValues) {
  const PictureRef face = LoadFace("save_normal");
  String error;
  const auto buttons = ParseStoredButtons(
      "# the main window's buttons\r\n[cmdGo]\r\n_extentx int32 1720\r\nforecolor int32 65535\r\n"
      "font font \"MS Sans Serif\" 8.25 700 0 0 0\r\ncaption text Save\r\n"
      "picturenormal picture save_normal\r\n[cmdkeypad]\r\ncaption text Keypad\r\n",
      LoadFace, error);
  ASSERT_TRUE(buttons) << error;
  const PropertyStore& go = *FindButton(*buttons, "cmdGo");
  EXPECT_EQ(std::get<std::int32_t>(go.ReadProperty("ForeColor", std::int32_t(0))), 65535);
  EXPECT_EQ(std::get<String>(go.ReadProperty("Caption", String())), "Save");
  EXPECT_EQ(std::get<PictureRef>(go.ReadProperty("PictureNormal", EmptyPicture())), face);
  const FontRef font = std::get<FontRef>(go.ReadProperty("Font", FontRef()));
  EXPECT_EQ(*font, (FontObject{"MS Sans Serif", 8.25f, 700, false, false, false}));
  EXPECT_EQ(std::get<String>(FindButton(*buttons, "cmdkeypad")->ReadProperty("caption", String())), "Keypad");
}

TEST(StoredButtons, UnreadableLinesAreNamed) {
  String error;
  const auto noPicture = [](std::string_view) { return PictureRef(); };
  EXPECT_FALSE(ParseStoredButtons("[a]\r\nx int32 twelve\r\n", noPicture, error));
  EXPECT_EQ(error, "line 2: x int32 twelve");
  EXPECT_FALSE(ParseStoredButtons("[a]\r\np picture missing\r\n", noPicture, error));
  EXPECT_FALSE(ParseStoredButtons("caption text outside any instance\r\n", noPicture, error));
  EXPECT_FALSE(ParseStoredButtons("[a]\r\nf font \"Arial\" 8\r\n", noPicture, error));
}

TEST(StoredButtons, NumbersBeyondTheirTypeAreRefused) {
  String error;
  const auto noPicture = [](std::string_view) { return PictureRef(); };
  const String huge = "1" + String(40, '0');
  for (const String& line : std::vector<String>{"x int16 99999", "x int16 -32769", "x int32 4294967296", "x int32 -2147483649",
                                 "x int32 " + huge, "x float " + huge, "f font \"Arial\" " + huge + " 700 0 0 0",
                                 "f font \"Arial\" 8 " + huge + " 0 0 0"}) {
    EXPECT_FALSE(ParseStoredButtons("[a]\r\n" + line + "\r\n", noPicture, error)) << line;
    EXPECT_EQ(error, "line 2: " + line);
  }
  // Colours may be written unsigned; both halves of the 32 bits read back.
  const auto buttons = ParseStoredButtons("[a]\r\nb int32 2147483663\r\nc int32 -1\r\nd int16 -32768\r\n",
                                          noPicture, error);
  ASSERT_TRUE(buttons) << error;
  const PropertyStore& a = *FindButton(*buttons, "a");
  EXPECT_EQ(std::get<std::int32_t>(a.ReadProperty("b", 0)), static_cast<std::int32_t>(0x8000000F));
  EXPECT_EQ(std::get<std::int32_t>(a.ReadProperty("c", 0)), -1);
  EXPECT_EQ(std::get<std::int16_t>(a.ReadProperty("d", 0)), -32768);
}

TEST(PropertyStore, DefaultRuleComparesAcrossNumericTypes) {
  PropertyStore store;
  store.WriteProperty("CaptionMoveWhenPressed", true, std::int16_t(1));
  store.WriteProperty("Resizeable", false, std::int16_t(0));
  store.WriteProperty("CaptionDownXAmount", 15.0f, std::int16_t(15));
  store.WriteProperty("PictureNormal", EmptyPicture(), EmptyPicture());
  EXPECT_EQ(store.Size(), 0u);
  store.WriteProperty("CaptionDownYAmount", 15.5f, std::int16_t(15));
  store.WriteProperty("Caption", String("button"), String("Button"));
  EXPECT_EQ(store.Size(), 2u);
  EXPECT_TRUE(store.Has("CAPTION"));
  store.WriteProperty("caption", String("Button"), String("Button"));  // back to default
  EXPECT_FALSE(store.Has("Caption"));
}

class MeasuringHost : public ButtonHost {
 public:
  void PropertyChanged(std::string_view) override {}
  FontRef AmbientFont() override { return FontRef(new FontObject); }
  void MeasureCaption(const String& text, const FontObject& font, float& width, float& height) override {
    width = static_cast<float>(text.size()) * font.size;
    height = static_cast<float>(font.weight);
  }
  void SizeChanged(float, float) override {}
};

}  // namespace
}  // namespace pelorin

#include <fstream>
#include <iterator>

#include "Button.h"
#include "PictureFile.h"
#include "support/SameButtonValues.h"

namespace pelorin {
namespace {

std::vector<std::uint8_t> ReadBytes(const String& path) {
  std::ifstream in(std::string(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The editor takes its buttons from the table made at build time; it must hold what reading
// the stored text into the buttons would give.
TEST(StoredButtons, TheMainWindowsTableHoldsWhatItsTextReads) {
  const std::vector<std::uint8_t> bytes = ReadBytes(PELORIN_RESOURCES_DIR "/MainWindow.buttons");
  static std::vector<std::pair<String, PictureRef>> faces;  // one object per name, as resources are
  const auto face = [](std::string_view name) -> PictureRef {
    for (const auto& [known, picture] : faces)
      if (known == name) return picture;
    return faces.emplace_back(name, PictureRef(new PictureObject{65, 19, std::vector<Pixel>(65 * 19)}))
        .second;
  };
  String error;
  const auto buttons = ParseStoredButtons(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                          face, error);
  ASSERT_TRUE(buttons) << error;
  ASSERT_EQ(buttons->size(), std::size(kMainWindowButtons));
  for (std::size_t i = 0; i < buttons->size(); ++i) {
    const auto& [name, store] = (*buttons)[i];
    const StoredButton& stored = kMainWindowButtons[i];
    SCOPED_TRACE(name);
    EXPECT_EQ(name, stored.name);
    EXPECT_EQ(std::get<std::int32_t>(store.ReadProperty("_extentx", std::int32_t(0))), stored.extentX);
    EXPECT_EQ(std::get<std::int32_t>(store.ReadProperty("_extenty", std::int32_t(0))), stored.extentY);
    MeasuringHost host;
    Button read(host), applied(host);
    ASSERT_FALSE(read.ReadProperties(store));
    PictureRef pictures[3];
    for (int k = 0; k < 3; ++k)
      if (stored.pictures[k].resource) pictures[k] = face(stored.pictures[k].resource);
    applied.ApplySettings(stored.settings, pictures);
    ExpectSameStoredValues(applied, read);
    EXPECT_EQ(applied.CaptionBox().width, read.CaptionBox().width);  // measured in the same font
  }
}

TEST(PictureFile, ShippedFacesAre65By19AndDamageIsRefused) {
  for (const char* face : {"save-normal", "save-pressed", "keypad-normal", "keypad-pressed"}) {
    const auto bytes = ReadBytes(String(PELORIN_RESOURCES_DIR "/buttons/") + face + ".bmp");
    const PictureRef picture = PictureFromBmp(bytes);
    ASSERT_TRUE(picture) << face;
    EXPECT_EQ(picture->width, 65);
    EXPECT_EQ(picture->height, 19);
    EXPECT_TRUE(picture->Present());
  }
  auto bytes = ReadBytes(PELORIN_RESOURCES_DIR "/buttons/save-normal.bmp");
  const PictureRef normal = PictureFromBmp(bytes);
  const PictureRef pressed = PictureFromBmp(ReadBytes(PELORIN_RESOURCES_DIR "/buttons/save-pressed.bmp"));
  EXPECT_NE(normal->pixels, pressed->pixels);
  // The faces are 8-bit: colours come through the table, rows bottom-up.
  EXPECT_EQ(normal->pixels.front(), MakePixel(170, 200, 240));
  EXPECT_EQ(normal->pixels.back(), MakePixel(10, 20, 40));
  bytes.resize(bytes.size() - 10);
  EXPECT_FALSE(PictureFromBmp(bytes));
  bytes = ReadBytes(PELORIN_RESOURCES_DIR "/buttons/save-normal.bmp");
  bytes[28] = 4;
  EXPECT_FALSE(PictureFromBmp(bytes));
  bytes[28] = 8;
  bytes[bytes.size() - 4] = 255;  // past the table's colours
  EXPECT_FALSE(PictureFromBmp(bytes));
  bytes = ReadBytes(PELORIN_RESOURCES_DIR "/buttons/save-normal.bmp");
  bytes[46] = 200;  // a table running into the pixels
  EXPECT_FALSE(PictureFromBmp(bytes));
  // The lowest height has no row count: refused, not negated.
  bytes = ReadBytes(PELORIN_RESOURCES_DIR "/buttons/save-normal.bmp");
  bytes[22] = bytes[23] = bytes[24] = 0;
  bytes[25] = 0x80;
  EXPECT_FALSE(PictureFromBmp(bytes));
}

}  // namespace
}  // namespace pelorin
