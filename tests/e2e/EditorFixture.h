#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "WineSession.h"

namespace pelorin::e2e {

inline constexpr std::uint32_t kBand = 0x00417C;
inline constexpr std::uint32_t kYellow = 0xFFFF00;

// The Windows path of a file of this machine, as Wine shows it (drive Z: is the root).
inline std::string WinePath(const std::filesystem::path& path) {
  std::string text = "Z:" + path.string();
  for (char& c : text)
    if (c == '/') c = '\\';
  return text;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Starts a copy of the name editor in a fresh folder beside a copy of the demo game, whose
// folder the settings file already names, and finds its window.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.Problem(), "");
    program_ = sandbox_.Copy(session_.Programs() / "Pelorin.exe", "Pelorin.exe");
    game_ = sandbox_.Copy(session_.DemoGame(), "Quake3");
    PrepareSettings();
    StartEditor();
  }

  void TearDown() override { session_.EndAll(); }

  virtual void PrepareSettings() { WriteFile(SettingsFile(), WinePath(game_) + "\r\n\r\n"); }

  std::filesystem::path SettingsFile() const { return sandbox_.Path() / "settings.ini"; }

  void StartEditor(const std::vector<std::string>& arguments = {},
                   const std::filesystem::path& workingDirectory = {}) {
    ProcessOptions options = session_.Options(workingDirectory.empty() ? sandbox_.Path() : workingDirectory);
    options.environment.insert(options.environment.end(), environment_.begin(), environment_.end());
    std::vector<std::string> argv{session_.Loader(), program_.string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    editor_.emplace(argv, options);
    window_ = probe_.WaitWindow("Pelorin");
    ASSERT_TRUE(window_) << "the editor's window did not appear";
  }

  void CloseEditor() {
    probe_.Ask("post " + window_->handle + " 16 0 0");  // WM_CLOSE
    ASSERT_TRUE(probe_.WaitGone("Pelorin"));
    ASSERT_TRUE(editor_->Wait(std::chrono::seconds(10)));
  }

  // Window pixels to screen pixels.
  int X(int x) const { return window_->left + x; }
  int Y(int y) const { return window_->top + y; }

  std::string Control(int id) {
    const auto control = probe_.Child(window_->handle, id);
    return control ? control->handle : std::string();
  }

  std::string NameText() { return probe_.Text(Control(kNameBoxId)); }

  void ClickNameBox() { input::Click(X(60), Y(38)); }

  // Control identifiers of the main window.
  static constexpr int kNameBoxId = 100;
  static constexpr int kHistoryId = 102;
  static constexpr int kLettersId = 103;
  static constexpr int kKeypadId = 104;
  static constexpr int kSaveButtonId = 105;
  static constexpr int kColourBoxId = 106;

  WineSession& session_ = WineSession::Get();
  Sandbox sandbox_;
  Probe probe_{session_};
  std::filesystem::path program_;
  std::filesystem::path game_;
  std::optional<Process> editor_;
  std::optional<WindowInfo> window_;
  std::vector<std::string> environment_;  // added to the editor's, such as a locale
};

}  // namespace pelorin::e2e
