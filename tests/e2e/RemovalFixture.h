#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "InstallFixture.h"

namespace pelorin::e2e {

inline constexpr char kProgramKey[] = "HKLM\\SOFTWARE\\Brackwater\\Pelorin";
inline constexpr char kConfirmText[] = "Are you sure you want to Uninstall Pelorin v1.2 (build 16)?";

inline bool KeyExists(const WineSession& session, const std::string& key, const std::string& view = "/reg:64") {
  return session.Tool({"reg", "query", key, view}).exitCode == 0;
}

// Waits until `done` holds, looking every tenth of a second.
template <typename Done>
bool WaitUntil(Done done, std::chrono::milliseconds limit) {
  using namespace std::chrono_literals;
  for (auto waited = 0ms; !done(); waited += 100ms) {
    if (waited >= limit) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

// Waits for a message box and answers it with the button of that text; returns the box as
// the probe describes it, or "none".
inline std::string AnswerBox(Probe& probe, const std::string& title, const std::string& button,
                             int waitMs = 20000) {
  const std::string box = probe.Ask("dialog \"" + title + "\" " + std::to_string(waitMs), waitMs);
  if (box != "none") probe.Ask("press " + box.substr(0, box.find(' ')) + " " + button);
  return box;
}

// Waits until the uninstaller's batch file has removed `folder`; names what is left if not.
inline void ExpectFolderRemoved(const std::filesystem::path& folder,
                                std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  if (WaitUntil([&] { return !std::filesystem::exists(folder); }, limit)) return;
  std::string left;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) left += " " + entry.path().string();
  ADD_FAILURE() << folder << " stays, with:" << left;
}

// Watches the uninstaller at work: true when the editor's window was gone by the time its
// program file went.
inline bool EditorClosedBeforeItsFileWent(Probe& probe, const std::filesystem::path& program) {
  using namespace std::chrono_literals;
  bool closedFirst = false;
  const bool fileWent = WaitUntil([&] {
    if (std::filesystem::exists(program)) return false;
    closedFirst = probe.Ask("gone Pelorin 0") == "gone";
    return true;
  }, 60s);
  return fileWent && closedFirst;
}

// After the batch file: "SetupTemp" stays, the answer file and the batch file are gone.
inline void ExpectSetupTempCleared(const WineSession& session,
                                   std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto setupTemp = session.TempFolder() / "SetupTemp";
  EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(setupTemp / "uninstall.bat"); }, limit));
  EXPECT_TRUE(std::filesystem::is_directory(setupTemp));
  EXPECT_FALSE(std::filesystem::exists(setupTemp / "yes.txt"));
}

}  // namespace pelorin::e2e
