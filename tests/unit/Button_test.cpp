#include "Button.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <string>
#include <vector>

#include "support/SameButtonValues.h"

namespace pelorin {
namespace {

// A host that records what the button tells it. Captions measure 10 twips per character by
// 195 twips.
class RecordingHost : public ButtonHost {
 public:
  std::vector<String> log;
  FontRef ambient = FontRef(new FontObject{"Ambient", 9, 400});
  float moveXOnMouseUp = 0;
  bool moveOnMouseUp = false;
  int measured = 0;

  void PropertyChanged(std::string_view key) override { log.push_back("changed " + String(key)); }
  FontRef AmbientFont() override { return ambient; }
  void MeasureCaption(const String& text, const FontObject&, float& width, float& height) override {
    ++measured;
    width = 10.0f * text.size();
    height = 195;
  }
  void SizeChanged(float width, float height) override {
    log.push_back("size " + std::to_string(int(width)) + "x" + std::to_string(int(height)));
  }
  void Click() override { log.push_back("Click"); }
  void DblClick() override { log.push_back("DblClick"); }
  void KeyDown(std::int16_t& code, std::int16_t&) override { log.push_back("KeyDown " + std::to_string(code)); }
  void KeyPress(std::int16_t& ascii) override { log.push_back("KeyPress " + std::to_string(ascii)); }
  void KeyUp(std::int16_t& code, std::int16_t&) override { log.push_back("KeyUp " + std::to_string(code)); }
  void MouseDown(std::int16_t& button, std::int16_t&, float&, float&) override {
    log.push_back("MouseDown " + std::to_string(button));
  }
  void MouseMove(std::int16_t&, std::int16_t&, float&, float&) override { log.push_back("MouseMove"); }
  void MouseUp(std::int16_t& button, std::int16_t&, float& x, float&) override {
    log.push_back("MouseUp " + std::to_string(button));
    if (moveOnMouseUp) x = moveXOnMouseUp;
  }

  std::vector<String> Events() const {
    std::vector<String> events;
    for (const auto& entry : log)
      if (entry.rfind("changed", 0) != 0 && entry.rfind("size", 0) != 0) events.push_back(entry);
    return events;
  }
};

PictureRef Face(int width, int height, Pixel colour) {
  return PictureRef(new PictureObject{width, height, std::vector<Pixel>(static_cast<std::size_t>(width) * height, colour)});
}

using Events = std::vector<String>;

class ButtonTest : public ::testing::Test {
 protected:
  // A button as the main window stores it: 65 x 19 pixel faces, caption "Save".
  void SetUp() override {
    store_.Set("caption", String("Save"));
    store_.Set("picturenormal", normal_);
    store_.Set("picturepressed", pressed_);
    ASSERT_FALSE(button_.ReadProperties(store_));
    host_.log.clear();
  }

  RecordingHost host_;
  Button button_{host_};
  PropertyStore store_;
  PictureRef normal_ = Face(65, 19, 1);
  PictureRef pressed_ = Face(65, 19, 2);
  const float restLeft_ = 975 / 2.0f - 40 / 2.0f;
  const float restTop_ = 285 / 2.0f - 195 / 2.0f;
};

TEST(ButtonProperties, ReadingAnEmptyStoreGivesEveryDefaultAndOneLayout) {
  RecordingHost host;
  Button button(host);
  host.log.clear();
  ASSERT_FALSE(button.ReadProperties(PropertyStore{}));
  EXPECT_EQ(button.BackColor(), static_cast<std::int32_t>(0x8000000F));
  EXPECT_EQ(button.ForeColor(), static_cast<std::int32_t>(0x80000012));
  EXPECT_TRUE(button.Enabled());
  EXPECT_EQ(button.Font(), host.ambient);
  EXPECT_EQ(button.BackStyle(), 1);
  EXPECT_EQ(button.BorderStyle(), 0);
  EXPECT_EQ(button.Caption(), "Button");
  EXPECT_FALSE(button.PictureNormal()->Present());
  EXPECT_FALSE(button.PicturePressed()->Present());
  EXPECT_FALSE(button.Picture()->Present());
  EXPECT_FALSE(button.IconBox().visible);
  EXPECT_FALSE(button.Resizeable());
  EXPECT_EQ(button.CaptionDownXAmount(), 15.0f);
  EXPECT_EQ(button.CaptionDownYAmount(), 15.0f);
  EXPECT_TRUE(button.CaptionMoveWhenPressed());
  // One layout: the caption is centred in the creation size 1035 x 645; nothing notified.
  EXPECT_EQ(button.CaptionBox().left, 1035 / 2.0f - 60 / 2.0f);
  EXPECT_EQ(button.CaptionBox().top, 645 / 2.0f - 195 / 2.0f);
  for (const auto& entry : host.log) EXPECT_NE(entry.rfind("changed", 0), 0u) << entry;
}

TEST(ButtonProperties, WrittenPropertiesReadBackAndDefaultsLeaveNoKey) {
  RecordingHost host;
  Button original(host);
  ASSERT_FALSE(original.ReadProperties(PropertyStore{}));
  PropertyStore empty;
  original.WriteProperties(empty);
  EXPECT_EQ(empty.Size(), 0u);

  original.SetBackColor(0x123456);
  original.SetForeColor(0x0000FFFF);
  original.SetEnabled(false);
  ASSERT_FALSE(original.SetFont(FontRef(new FontObject{"MS Sans Serif", 8.25f, 700})));
  original.SetBackStyle(0);
  original.SetBorderStyle(1);
  original.SetCaption("Keypad");
  ASSERT_FALSE(original.SetPictureNormal(Face(65, 19, 3)));
  ASSERT_FALSE(original.SetPicturePressed(Face(65, 19, 4)));
  original.SetResizeable(true);
  original.SetCaptionDownXAmount(30);
  original.SetCaptionDownYAmount(7.5f);
  original.SetCaptionMoveWhenPressed(false);
  ASSERT_FALSE(original.SetPicture(Face(16, 16, 5)));
  PropertyStore store;
  original.WriteProperties(store);
  EXPECT_EQ(store.Size(), 14u);

  Button copy(host);
  ASSERT_FALSE(copy.ReadProperties(store));
  EXPECT_EQ(copy.BackColor(), 0x123456);
  EXPECT_EQ(copy.ForeColor(), 0x0000FFFF);
  EXPECT_FALSE(copy.Enabled());
  EXPECT_EQ(copy.Font()->weight, 700);
  EXPECT_EQ(copy.BackStyle(), 0);
  EXPECT_EQ(copy.BorderStyle(), 1);
  EXPECT_EQ(copy.Caption(), "Keypad");
  EXPECT_EQ(copy.PictureNormal(), original.PictureNormal());
  EXPECT_EQ(copy.PicturePressed(), original.PicturePressed());
  EXPECT_TRUE(copy.Resizeable());
  EXPECT_EQ(copy.CaptionDownXAmount(), 30.0f);
  EXPECT_EQ(copy.CaptionDownYAmount(), 7.5f);
  EXPECT_FALSE(copy.CaptionMoveWhenPressed());
  EXPECT_TRUE(copy.IconBox().visible);
}

TEST(ButtonProperties, StoredValuesConvertAndLowerCaseKeysAreFound) {
  RecordingHost host;
  Button button(host);
  PropertyStore store;
  store.Set("caption", String("Found"));
  store.Set("captionmovewhenpressed", std::int16_t(0));
  store.Set("resizeable", std::int16_t(5));
  ASSERT_FALSE(button.ReadProperties(store));
  EXPECT_EQ(button.Caption(), "Found");
  EXPECT_FALSE(button.CaptionMoveWhenPressed());
  EXPECT_TRUE(button.Resizeable());
}

TEST(ButtonProperties, AFailingKeyStopsReadingWithEarlierKeysApplied) {
  RecordingHost host;
  Button button(host);
  PropertyStore store;
  store.Set("BackColor", std::int32_t(0x112233));
  store.Set("Caption", String("Kept"));
  store.Set("PictureNormal", String("not a picture"));
  store.Set("Resizeable", true);
  const ButtonError error = button.ReadProperties(store);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("PictureNormal"), String::npos);
  EXPECT_EQ(button.BackColor(), 0x112233);
  EXPECT_EQ(button.Caption(), "Kept");
  EXPECT_FALSE(button.Resizeable());

  PropertyStore colour;
  colour.Set("ForeColor", String("yellow"));
  EXPECT_TRUE(button.ReadProperties(colour));
  PropertyStore font;
  font.Set("Font", std::int16_t(3));
  EXPECT_TRUE(button.ReadProperties(font));
}

// The table made at build time stands for a store: applying its values must leave the button
// as reading a store that holds them would, layout and log included.
TEST(ButtonProperties, SettingsApplyAsAStoreHoldingThemReads) {
  const PictureRef normal = Face(65, 19, 3), pressed = Face(65, 19, 4), icon = Face(16, 16, 5);
  const ButtonSettings everything{0x123456, 0xFFFF, false, {"Arial", 9.75f, 700, true, false, true}, 0, 1, "Keypad",
                                  true, 30, 7.5f, false};
  PropertyStore store;
  for (const auto& [key, value] : {std::pair<const char*, PropertyValue>{"backcolor", std::int32_t(0x123456)},
                                   {"forecolor", std::int32_t(0xFFFF)},
                                   {"enabled", false},
                                   {"font", FontRef(new FontObject{"Arial", 9.75f, 700, true, false, true})},
                                   {"backstyle", std::int16_t(0)},
                                   {"borderstyle", std::int16_t(1)},
                                   {"caption", String("Keypad")},
                                   {"picturenormal", normal},
                                   {"picturepressed", pressed},
                                   {"resizeable", true},
                                   {"captiondownxamount", 30.0f},
                                   {"captiondownyamount", 7.5f},
                                   {"captionmovewhenpressed", false},
                                   {"picture", icon}})
    store.Set(key, value);
  for (bool stored : {true, false}) {
    RecordingHost readHost, appliedHost;
    Button read(readHost), applied(appliedHost);
    ASSERT_FALSE(read.ReadProperties(stored ? store : PropertyStore{}));
    if (stored) applied.ApplySettings(everything, {normal, pressed, icon});
    else applied.ApplySettings(ButtonSettings{}, {});
    ExpectSameStoredValues(applied, read);
    EXPECT_EQ(applied.Width(), read.Width());
    EXPECT_EQ(applied.CaptionBox().left, read.CaptionBox().left);
    EXPECT_EQ(applied.CaptionBox().top, read.CaptionBox().top);
    EXPECT_EQ(applied.IconBox().visible, read.IconBox().visible);
    EXPECT_EQ(appliedHost.log, readHost.log);
  }
}

TEST(ButtonProperties, SettersNotifyInTheirOrder) {
  RecordingHost host;
  Button button(host);
  host.log.clear();
  button.SetCaption("Go");
  button.SetResizeable(true);
  ASSERT_FALSE(button.SetPicture(EmptyPicture()));
  EXPECT_EQ(host.log, (Events{"changed Caption", "changed Resizeable", "changed Picture"}));
  EXPECT_EQ(Button::Description("Caption"),
            "Returns/sets the text displayed in an object's title bar or below an object's icon.");
  EXPECT_EQ(Button::Description("Resizeable"), "");
  EXPECT_EQ(Button::Description("MouseMove"), "Occurs when the user moves the mouse.");
}

TEST_F(ButtonTest, TakesTheSizeOfItsNormalPictureWithANestedLayout) {
  EXPECT_EQ(button_.Width(), 975.0f);
  EXPECT_EQ(button_.Height(), 285.0f);
  host_.log.clear();
  button_.Resize(2000, 1000);  // the host asks for another size: the picture wins
  EXPECT_EQ(button_.Width(), 975.0f);
  EXPECT_EQ(button_.Height(), 285.0f);
  EXPECT_EQ(host_.log, (Events{"size 975x1000", "size 975x285"}));
  EXPECT_EQ(button_.CaptionBox().left, restLeft_);
  EXPECT_EQ(button_.CaptionBox().top, restTop_);
  EXPECT_EQ(button_.PaintedPicture(), nullptr);
}

TEST_F(ButtonTest, ResizeableStretchesTheNormalPictureOverTheHostsSize) {
  button_.SetResizeable(true);
  EXPECT_EQ(button_.PaintedPicture(), nullptr);  // no layout until the next one
  button_.Resize(2000, 1000);
  EXPECT_EQ(button_.Width(), 2000.0f);
  EXPECT_EQ(button_.PaintedPicture(), normal_);
  EXPECT_EQ(button_.CaptionBox().left, 1000 - 20.0f);
  button_.HandlePress(1, 0, 10, 10);
  EXPECT_EQ(button_.PaintedPicture(), pressed_);
}

TEST_F(ButtonTest, PressAndReleaseInsideClicks) {
  button_.HandlePress(1, 0, 100, 100);
  EXPECT_TRUE(button_.Pressed());
  EXPECT_EQ(button_.PaintedPicture(), pressed_);
  EXPECT_EQ(button_.CaptionBox().left, restLeft_ + 15);
  EXPECT_EQ(button_.CaptionBox().top, restTop_ + 15);
  button_.HandleRelease(1, 0, 100, 100);
  EXPECT_FALSE(button_.Pressed());
  EXPECT_EQ(host_.Events(), (Events{"MouseDown 1", "MouseUp 1", "Click"}));
  EXPECT_EQ(button_.CaptionBox().left, restLeft_);
  EXPECT_EQ(button_.CaptionBox().top, restTop_);
}

TEST_F(ButtonTest, DraggingOutRestoresTheFaceAndReleasingOutsideDoesNotClick) {
  button_.HandlePress(1, 0, 100, 100);
  button_.HandlePointerMove(1, 0, 976, 100);
  EXPECT_FALSE(button_.Pressed());
  EXPECT_EQ(button_.PaintedPicture(), normal_);
  EXPECT_EQ(button_.CaptionBox().left, restLeft_);
  button_.HandlePointerMove(1, 0, -5, 100);  // still outside: nothing changes
  button_.HandleRelease(1, 0, -5, 100);
  EXPECT_EQ(host_.Events(), (Events{"MouseDown 1", "MouseMove", "MouseMove", "MouseUp 1"}));

  host_.log.clear();
  button_.HandlePress(1, 0, 100, 100);
  button_.HandlePointerMove(1, 0, 100, 300);
  button_.HandlePointerMove(1, 0, 975, 285);  // the right and bottom edges count as inside
  EXPECT_TRUE(button_.Pressed());
  EXPECT_EQ(button_.PaintedPicture(), pressed_);
  button_.HandleRelease(1, 0, 975, 285);
  EXPECT_EQ(host_.Events().back(), "Click");
}

TEST_F(ButtonTest, OtherButtonsAndMasksDoNotTrack) {
  button_.HandlePress(2, 0, 10, 10);
  EXPECT_EQ(button_.PaintedPicture(), pressed_);
  button_.HandlePointerMove(2, 0, 5000, 10);
  button_.HandlePointerMove(3, 0, 5000, 10);
  EXPECT_TRUE(button_.Pressed());
  button_.HandleRelease(2, 0, 10, 10);
  EXPECT_EQ(host_.Events(), (Events{"MouseDown 2", "MouseMove", "MouseMove", "MouseUp 2", "Click"}));
}

TEST_F(ButtonTest, CaptionGesturesReportCaptionRelativePointsWithoutTracking) {
  button_.Press(Button::Source::kCaption, 1, 0, 5, 5);
  button_.Move(Button::Source::kCaption, 1, 0, 3000, 5);
  EXPECT_TRUE(button_.Pressed());
  EXPECT_EQ(button_.PaintedPicture(), pressed_);
  // Released over the caption's own (0, 0): inside by the caption's coordinates.
  button_.Release(Button::Source::kCaption, 1, 0, 0, 0);
  EXPECT_EQ(host_.Events(), (Events{"MouseDown 1", "MouseMove", "MouseUp 1", "Click"}));
}

TEST_F(ButtonTest, MouseUpHandlerCanMoveThePointOutside) {
  host_.moveOnMouseUp = true;
  host_.moveXOnMouseUp = -1;
  button_.HandlePress(1, 0, 10, 10);
  button_.HandleRelease(1, 0, 10, 10);
  EXPECT_EQ(host_.Events(), (Events{"MouseDown 1", "MouseUp 1"}));
}

TEST_F(ButtonTest, CaptionStaysWhenItShouldNotMoveAndEmptyPressedFaceIsNotPainted) {
  button_.SetCaptionMoveWhenPressed(false);
  ASSERT_FALSE(button_.SetPicturePressed(EmptyPicture()));
  button_.HandlePress(1, 0, 10, 10);
  EXPECT_EQ(button_.CaptionBox().left, restLeft_);
  EXPECT_EQ(button_.PaintedPicture(), nullptr);
  button_.HandleRelease(1, 0, 10, 10);
  EXPECT_EQ(host_.Events(), (Events{"MouseDown 1", "MouseUp 1", "Click"}));
}

TEST_F(ButtonTest, ChangedAmountWhileHeldLeavesNoDrift) {
  button_.HandlePress(1, 0, 10, 10);
  button_.SetCaptionDownXAmount(45);
  button_.HandleRelease(1, 0, 10, 10);
  EXPECT_EQ(button_.CaptionBox().left, restLeft_);
}

TEST_F(ButtonTest, IconPutsTheCaptionThirtyTwipsBelowIt) {
  ASSERT_FALSE(button_.SetPicture(Face(10, 8, 7)));
  const ElementBox icon = button_.IconBox();
  EXPECT_TRUE(icon.visible);
  EXPECT_EQ(icon.left, 975 / 2.0f - 150 / 2.0f);
  EXPECT_EQ(icon.top, 285 / 2.0f - 120 / 2.0f);
  EXPECT_EQ(button_.CaptionBox().top, icon.top + icon.height + 30);
  ASSERT_FALSE(button_.SetPicture(EmptyPicture()));
  EXPECT_FALSE(button_.IconBox().visible);
  EXPECT_EQ(button_.CaptionBox().top, restTop_);
}

TEST_F(ButtonTest, KeysRaiseOnlyKeyEvents) {
  button_.KeyDown(32, 0);
  button_.KeyPress(32);
  button_.KeyUp(32, 0);
  EXPECT_EQ(host_.Events(), (Events{"KeyDown 32", "KeyPress 32", "KeyUp 32"}));
  EXPECT_FALSE(button_.Pressed());
  EXPECT_EQ(button_.PaintedPicture(), nullptr);
}

// Input cannot fail because a picture property never holds no object.
TEST_F(ButtonTest, APictureNeverHoldsNoObject) {
  RecordingHost host;
  Button button(host);
  button.InitProperties();
  EXPECT_TRUE(button.SetPicturePressed(nullptr));  // refused: the property keeps an object
  ASSERT_TRUE(button.PicturePressed());
  button.HandlePress(1, 0, 1, 1);
  EXPECT_TRUE(button.Pressed());
}

// A window holds its button as a member, so the button is built while its host is not yet.
TEST(ButtonProperties, ConstructionLeavesTheHostAlone) {
  RecordingHost host;
  Button button(host);
  EXPECT_EQ(host.measured, 0);
  EXPECT_TRUE(host.log.empty());
  EXPECT_EQ(button.CaptionBox().width, 465.0f);
  EXPECT_EQ(button.CaptionBox().height, 195.0f);
}

TEST_F(ButtonTest, StoredDisabledButtonTakesNoInput) {
  store_.Set("enabled", false);
  ASSERT_FALSE(button_.ReadProperties(store_));
  host_.log.clear();
  const ElementBox rest = button_.CaptionBox();
  button_.Press(Button::Source::kSurface, 1, 0, 10, 10);
  EXPECT_FALSE(button_.Pressed());
  EXPECT_EQ(button_.CaptionBox().left, rest.left);
  button_.Move(Button::Source::kSurface, 1, 0, 20, 10);
  button_.Release(Button::Source::kCaption, 1, 0, 10, 10);
  button_.DoubleClick(Button::Source::kSurface);
  button_.KeyDown(32, 0);
  button_.KeyPress(32);
  EXPECT_TRUE(host_.Events().empty()) << host_.Events().front();
}

TEST(ButtonProperties, StoredNumbersBeyondTheirTypeAreRefused) {
  const String huge = "1" + String(50, '0');
  for (const auto& [key, value] : {std::pair<const char*, PropertyValue>{"BackStyle", String("99999")},
                                   {"BorderStyle", -40000.0f},
                                   {"BackColor", String("9") + huge},
                                   {"CaptionDownXAmount", String(huge)}}) {
    RecordingHost host;
    Button button(host);
    PropertyStore store;
    store.Set(key, value);
    const ButtonError error = button.ReadProperties(store);
    ASSERT_TRUE(error) << key;
    EXPECT_EQ(*error, "Overflow reading \"" + String(key) + "\"");
  }
  // A float that no integer type holds still reads as text.
  RecordingHost host;
  Button button(host);
  PropertyStore store;
  store.Set("Caption", 3e38f);
  ASSERT_FALSE(button.ReadProperties(store));
  EXPECT_EQ(button.Caption().size(), 39u);
  EXPECT_EQ(button.Caption().substr(0, 4), "3000");
}

TEST(ButtonProperties, InitPropertiesSetsItsFiveThingsQuietly) {
  RecordingHost host;
  Button button(host);
  host.log.clear();
  button.InitProperties();
  EXPECT_EQ(button.Font(), host.ambient);
  EXPECT_FALSE(button.PictureNormal()->Present());
  EXPECT_FALSE(button.Resizeable());
  EXPECT_EQ(button.CaptionDownXAmount(), 15.0f);
  EXPECT_TRUE(button.CaptionMoveWhenPressed());
  EXPECT_EQ(button.Caption(), "Button");
  // No notification and no layout: the caption keeps its creation place.
  EXPECT_TRUE(host.log.empty());
  EXPECT_EQ(button.CaptionBox().left, 240.0f);
  EXPECT_EQ(button.CaptionBox().top, 240.0f);
}

TEST(ButtonProperties, DoubleClicksReachTheHostFromTheSurfaceAndTheIconOnly) {
  RecordingHost host;
  Button button(host);
  host.log.clear();
  button.DoubleClick(Button::Source::kSurface);
  button.DoubleClick(Button::Source::kIcon);
  button.DoubleClick(Button::Source::kCaption);
  EXPECT_EQ(host.Events(), (Events{"DblClick", "DblClick"}));
}

TEST(ButtonProperties, NoNormalPictureKeepsTheHostsSize) {
  RecordingHost host;
  Button button(host);
  ASSERT_FALSE(button.ReadProperties(PropertyStore{}));
  button.Resize(600, 300);
  EXPECT_EQ(button.Width(), 600.0f);
  EXPECT_EQ(button.Height(), 300.0f);
  EXPECT_EQ(button.PaintedPicture(), nullptr);
}

// The pictures and fonts are shared by counted references: copies and moves share one
// object, the last owner deletes it once, and an assigned-over reference lets its old go.
TEST(SharedRef, TheLastOwnerDeletesTheObjectOnce) {
  struct Counted {
    int& alive;
    explicit Counted(int& count) : alive(count) { ++alive; }
    ~Counted() { --alive; }
  };
  int alive = 0;
  {
    SharedRef<Counted> first(new Counted(alive));
    SharedRef<Counted> copy = first;
    SharedRef<Counted> moved = std::move(copy);
    EXPECT_TRUE(moved == first);
    EXPECT_TRUE(copy == nullptr);
    first = SharedRef<Counted>(new Counted(alive));
    EXPECT_EQ(alive, 2);
    moved = first;
    EXPECT_EQ(alive, 1);
    const SharedRef<Counted>& itself = moved;
    moved = itself;
    EXPECT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0);
}

}  // namespace
}  // namespace pelorin
