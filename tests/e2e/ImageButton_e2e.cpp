#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <span>

#include "EditorFixture.h"
#include "PictureFile.h"

namespace pelorin::e2e {
namespace {

std::uint32_t FacePixel(const char* face, int x, int y) {
  const std::string bytes = ReadFile(std::filesystem::path(PELORIN_E2E_RESOURCES) / "buttons" / face);
  const PictureRef picture = PictureFromBmp(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  return picture ? picture->pixels[y * picture->width + x] : 0xDEADBEEF;
}

struct Corner {
  int x = INT_MAX, y = INT_MAX;
  bool operator==(const Corner&) const = default;
};

// The top-left corner of the yellow caption inside a 65 x 19 button at (x, y) on the screen.
Corner CaptionCorner(Probe& probe, int x, int y) {
  Corner corner;
  const auto rows = probe.Pixels(x, y, 65, 19);
  for (int row = 0; row < static_cast<int>(rows.size()); ++row)
    for (int column = 0; column < static_cast<int>(rows[row].size()); ++column)
      if (rows[row][column] == kYellow) {
        corner.x = std::min(corner.x, column);
        corner.y = std::min(corner.y, row);
      }
  return corner;
}

class ImageButtonTest : public EditorTest {
 protected:
  int SaveX(int x) const { return X(256 + x); }
  int SaveY(int y) const { return Y(80 + y); }
};

TEST_F(ImageButtonTest, SaveShowsItsPressedFaceAndShiftsItsCaptionWhileHeld) {
  const std::uint32_t normal = FacePixel("save-normal.bmp", 3, 9);
  const std::uint32_t pressed = FacePixel("save-pressed.bmp", 3, 9);
  ASSERT_NE(normal, pressed);
  ASSERT_TRUE(probe_.WaitPixel(SaveX(3), SaveY(9), normal)) << "the normal face is not shown";
  const Corner rest = CaptionCorner(probe_, SaveX(0), SaveY(0));
  ASSERT_NE(rest.x, INT_MAX) << "no yellow caption on the button";

  input::Press(SaveX(3), SaveY(9));
  EXPECT_EQ(probe_.Pixel(SaveX(3), SaveY(9)), pressed);
  EXPECT_EQ(CaptionCorner(probe_, SaveX(0), SaveY(0)), (Corner{rest.x + 1, rest.y + 1}));

  // Dragged out while held: the normal face and the caption come back at once.
  input::MoveTo(SaveX(3), SaveY(45));
  EXPECT_EQ(probe_.Pixel(SaveX(3), SaveY(9)), normal);
  EXPECT_EQ(CaptionCorner(probe_, SaveX(0), SaveY(0)), rest);
  input::Release();
  EXPECT_EQ(probe_.Ask("menu 700", 700), "none") << "a release outside must not open the menu";
}

TEST_F(ImageButtonTest, ReleaseInsideOpensTheSaveMenu) {
  input::Press(SaveX(3), SaveY(9));
  input::MoveTo(SaveX(3), SaveY(45));
  input::MoveTo(SaveX(5), SaveY(10));  // back in: pressed again
  EXPECT_EQ(probe_.Pixel(SaveX(3), SaveY(9)), FacePixel("save-pressed.bmp", 3, 9));
  input::Release();
  EXPECT_NE(probe_.Ask("menu 3000", 3000), "none");
  input::Key("Escape");
  EXPECT_EQ(probe_.Pixel(SaveX(3), SaveY(9)), FacePixel("save-normal.bmp", 3, 9));
}

TEST_F(ImageButtonTest, ButtonsTakeTheSizeOfTheirFaces) {
  for (int id : {104, 105}) {
    const auto button = probe_.Child(window_->handle, id);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->right - button->left, 65);
    EXPECT_EQ(button->bottom - button->top, 19);
  }
}

class DisabledSaveTest : public EditorTest {
 protected:
  void PrepareSettings() override { WriteFile(SettingsFile(), "\r\n\r\n"); }
  void SetUp() override {
    ASSERT_EQ(session_.Problem(), "");
    program_ = sandbox_.Copy(session_.Programs() / "Pelorin.exe", "Pelorin.exe");
    game_ = sandbox_.Copy(session_.DemoGame(), "Quake3");
    editor_.emplace(session_.Start(program_, {}, sandbox_.Path()));
    const std::string locator = probe_.Ask("waitclass #32770 \"Where is Quake 3?\" 15000", 15000);
    ASSERT_NE(locator, "none");
    probe_.Ask("post " + locator.substr(0, locator.find(' ')) + " 16 0 0");  // cancelled
    window_ = probe_.WaitWindow("Pelorin");
    ASSERT_TRUE(window_);
  }
};

TEST_F(DisabledSaveTest, SaveIgnoresPressesWithoutAGameFolderAndKeepsItsColours) {
  ASSERT_TRUE(probe_.WaitPixel(X(256 + 3), Y(80 + 9), FacePixel("save-normal.bmp", 3, 9)));
  EXPECT_NE(CaptionCorner(probe_, X(256), Y(80)).x, INT_MAX) << "the caption is not yellow";
  const std::uint32_t before = probe_.Pixel(X(256 + 3), Y(80 + 9));
  input::Press(X(256 + 3), Y(80 + 9));
  EXPECT_EQ(probe_.Pixel(X(256 + 3), Y(80 + 9)), before);
  input::Release();
  EXPECT_EQ(probe_.Ask("menu 700", 700), "none");
}

// One button on its own, read from stored data, in a test window with a magenta client area.
class StoredButtonTest : public ::testing::Test {
 protected:
  void TearDown() override { session_.EndAll(); }

  // The button's top-left corner on the screen; false when the window did not open.
  bool StartHost(const std::string& stored, int& x, int& y) {
    const std::filesystem::path data = sandbox_.Path() / "host.buttons";
    WriteFile(data, "[button]\r\nforecolor int32 65535\r\ncaption text Off\r\n" + stored);
    host_.emplace(session_.Start(session_.ProbePath().parent_path() / "button_host.exe", {WinePath(data)},
                                 sandbox_.Path()));
    const auto window = probe_.WaitWindow("ButtonHost");
    if (!window) return false;
    x = window->left + 20;
    y = window->top + 20;
    return true;
  }

  WineSession& session_ = WineSession::Get();
  Sandbox sandbox_;
  Probe probe_{session_};
  std::optional<Process> host_;
};

TEST_F(StoredButtonTest, TransparentFaceShowsTheWindowBehindAndStoredDisabledTakesNoClick) {
  ASSERT_EQ(session_.Problem(), "");
  int x = 0, y = 0;
  ASSERT_TRUE(StartHost("backstyle int16 0\r\nenabled bool 0\r\n", x, y));
  EXPECT_TRUE(probe_.WaitPixel(x + 1, y + 1, 0xFF00FF)) << "the transparent face does not show the window";
  EXPECT_EQ(probe_.Pixel(x + 63, y + 17), 0xFF00FFu);
  EXPECT_NE(CaptionCorner(probe_, x, y).x, INT_MAX) << "the caption is not yellow";
  input::Click(x + 30, y + 9);
  EXPECT_EQ(probe_.Ask("wait \"ButtonHost clicked\" 700", 700), "none");
}

TEST_F(StoredButtonTest, StoredEnabledButtonRaisesClick) {
  ASSERT_EQ(session_.Problem(), "");
  int x = 0, y = 0;
  ASSERT_TRUE(StartHost("", x, y));
  input::Click(x + 30, y + 9);
  EXPECT_NE(probe_.Ask("wait \"ButtonHost clicked\" 3000", 3000), "none");
}

}  // namespace
}  // namespace pelorin::e2e
