#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

#include "InstallFixture.h"
#include "TextInk.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr char kWizardCaption[] = "Pelorin v1.2 (build 16)";
constexpr char kCorrupt[] =
    "Setup data is corrupt or cannot be read.  Make sure that another process is not using it.";

class SetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.Problem(), "");
    for (const auto& folder : SetupFolders()) std::filesystem::remove_all(folder);
  }
  void TearDown() override { session_.EndAll(); }

  std::vector<std::filesystem::path> SetupFolders() const { return InstallPlaces{session_}.SetupFolders(); }

  // Starts a setup file and expects the corrupt-data message, then its end.
  void ExpectCorrupt(const std::filesystem::path& program) {
    Process setup = session_.Start(program, {}, sandbox_.Path());
    const std::string box = probe_.Ask("dialog Setup 20000", 20000);
    EXPECT_NE(box.find(kCorrupt), std::string::npos) << box;
    probe_.Ask("press " + box.substr(0, box.find(' ')) + " OK");
    EXPECT_EQ(setup.Wait(20s), 1);
    EXPECT_TRUE(SetupFolders().empty());  // removed on this way out too
  }

  WineSession& session_ = WineSession::Get();
  Sandbox sandbox_;
  Probe probe_{session_};
};

TEST_F(SetupTest, UnpacksItsDataAndOpensTheWizardWithTheLicence) {
  const auto program = sandbox_.Copy(session_.Programs() / "setup.exe", "setup.exe");
  Process setup = session_.Start(program, {}, sandbox_.Path());
  const auto wizard = probe_.WaitWindow(kWizardCaption, 20000);
  ASSERT_TRUE(wizard);

  std::string licence, company;
  for (const auto& control : probe_.Children(wizard->handle)) {
    if (control.id == 100) licence = control.text;
    if (control.id == 101) company = control.text;
  }
  EXPECT_EQ(licence.rfind("Pelorin licence\\x0D\\x0A\\x0D\\x0APelorin is free", 0), 0u) << licence;
  EXPECT_EQ(company, "Brought to you by Brackwater");

  // Setup reads its pack from its own file: its folder holds no copy while it runs, and the
  // files the wizard took are gone already.
  const auto folders = SetupFolders();
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(folders[0]));

  // The side picture is drawn at the window's left.
  const std::string client = probe_.Ask("client " + wizard->handle);
  int left = 0, top = 0;
  std::istringstream(client) >> left >> top;
  EXPECT_NE(probe_.Pixel(left + 10, top + 10), 0xF0F0F0u);

  probe_.Ask("post " + wizard->handle + " 16 0 0");  // closed: the same as Cancel
  EXPECT_EQ(setup.Wait(20s), 0);
  EXPECT_TRUE(SetupFolders().empty());
}

// The ink of the wizard's texts at a display DPI: the company line, Cancel and Begin on the
// first page, the info text on the path page.
std::vector<TextInk> WizardTextsAt(int dpi, const WineSession& session, Sandbox& sandbox, Probe& probe) {
  DisplayDpi display(session, dpi);
  const auto program = sandbox.Copy(session.Programs() / "setup.exe", "setup" + std::to_string(dpi) + ".exe");
  Process setup = session.Start(program, {}, sandbox.Path());
  const auto wizard = probe.WaitWindow(kWizardCaption, 20000);
  EXPECT_TRUE(wizard);
  std::vector<TextInk> inks;
  if (!wizard) return inks;
  const auto measure = [&](int id, bool button) {
    const auto control = probe.Child(wizard->handle, id);
    if (!control) return;
    // A button's edges and focus outline lie within six pixels at 100 %.
    inks.push_back(InkOf(probe.Pixels(control->left, control->top, control->right - control->left,
                                      control->bottom - control->top),
                         button ? 6 * dpi / 96 : 0));
  };
  measure(101, false);
  measure(110, true);
  measure(120, true);
  input::Key("Return");
  std::this_thread::sleep_for(1s);
  measure(130, false);
  input::Key("Escape");  // back to the first page, whose Esc cancels
  input::Key("Escape");
  EXPECT_EQ(setup.Wait(20s), 0);
  return inks;
}

TEST_F(SetupTest, WizardTextsAreWholeAtTwiceTheScale) {
  const std::vector<TextInk> at96 = WizardTextsAt(96, session_, sandbox_, probe_);
  const std::vector<TextInk> at192 = WizardTextsAt(192, session_, sandbox_, probe_);
  ASSERT_EQ(at96.size(), 4u);
  ASSERT_EQ(at192.size(), 4u);
  for (std::size_t i = 0; i < at96.size(); ++i) {
    EXPECT_TRUE(ScaledBy(at192[i], at96[i], 2)) << "text " << i << ": " << at192[i].Width() << " x "
                                                << at192[i].Height() << " against " << at96[i].Width() << " x "
                                                << at96[i].Height();
    EXPECT_FALSE(at192[i].touchesEdge) << "text " << i << " is cut at its control's edge";
  }
}

TEST_F(SetupTest, ProgramWithoutPayloadReportsCorruptData) {
  ExpectCorrupt(sandbox_.Copy(session_.Images() / "setup.exe", "setup.exe"));
}

TEST_F(SetupTest, DamagedTrailerReportsCorruptData) {
  const auto program = sandbox_.Copy(session_.Programs() / "setup.exe", "setup.exe");
  std::string bytes = ReadFile(program);
  bytes[bytes.size() - 272 + 16 + 64] = 'x';  // the list copy's length is no number now
  WriteFile(program, bytes);
  ExpectCorrupt(program);
}

}  // namespace
}  // namespace pelorin::e2e
