#pragma once

#include <chrono>
#include <fstream>
#include <iterator>
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

// After the batch file: nothing is left in the folders of uninstaller runs. Wine's
// interpreter holds its batch file open until it ends, so the emptied folder itself stays
// there until the next removal clears it.
inline void ExpectBatchFoldersGone(const WineSession& session,
                                   std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  std::string left;
  const auto leftOver = [&] {
    left.clear();
    for (const auto& folder : std::filesystem::directory_iterator(session.TempFolder()))
      if (folder.path().filename().string().starts_with("PelorinUninstall-"))
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) left += " " + entry.path().string();
    return !left.empty();
  };
  EXPECT_TRUE(WaitUntil([&] { return !leftOver(); }, limit)) << left;
}

// Whether a command interpreter of this session's prefix still runs.
inline bool InterpreterRunning(const WineSession& session) {
  const std::string prefix = "WINEPREFIX=" + session.DriveC().parent_path().string();
  for (const auto& process : std::filesystem::directory_iterator("/proc")) {
    const auto read = [&](const char* name) {
      std::ifstream in(process.path() / name, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    std::string line = read("cmdline");
    for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (line.find("cmd.exe") == std::string::npos) continue;
    const std::string environment = read("environ");
    if (environment.find(prefix + '\0') != std::string::npos) return true;
  }
  return false;
}

}  // namespace pelorin::e2e
