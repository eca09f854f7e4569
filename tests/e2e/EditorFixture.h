#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "WineSession.h"

namespace pelorin::e2e {

inline constexpr std::uint32_t kBand = 0x00417C;
inline constexpr std::uint32_t kYellow = 0xFFFF00;

// Starts a copy of the name editor in a fresh folder and finds its window.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.Problem(), "");
    program_ = sandbox_.Copy(session_.Programs() / "Pelorin.exe", "Pelorin.exe");
    StartEditor();
  }

  void TearDown() override { session_.EndAll(); }

  void StartEditor(const std::vector<std::string>& arguments = {}) {
    editor_.emplace(session_.Start(program_, arguments, sandbox_.Path()));
    window_ = probe_.WaitWindow("Pelorin");
    ASSERT_TRUE(window_) << "the editor's window did not appear";
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
  static constexpr int kSaveButtonId = 105;

  WineSession& session_ = WineSession::Get();
  Sandbox sandbox_;
  Probe probe_{session_};
  std::filesystem::path program_;
  std::optional<Process> editor_;
  std::optional<WindowInfo> window_;
};

}  // namespace pelorin::e2e
