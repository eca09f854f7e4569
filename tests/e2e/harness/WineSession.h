#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Process.h"

namespace pelorin::e2e {

// The Wine prefix, display and programs that a test run shares: the prefix is made by the
// test fixture (wine-prefix.sh), the display by xvfb-run. Each setting can be overridden by
// an environment variable of its name (PELORIN_E2E_PREFIX, PELORIN_E2E_WINE, ...).
class WineSession {
 public:
  static WineSession& Get();

  // Why the session cannot run, or empty when it can.
  const std::string& Problem() const { return problem_; }

  std::filesystem::path Programs() const { return programs_; }
  std::filesystem::path ProbePath() const { return probe_; }
  // Program images built beside the programs: setup without its payload, and the like.
  std::filesystem::path Images() const { return programs_.parent_path() / "images"; }
  // The user's temporary folder inside the prefix, as this machine sees it.
  std::filesystem::path TempFolder() const { return prefix_ / "drive_c/users/root/Temp"; }
  // Drive C: of the prefix, as this machine sees it.
  std::filesystem::path DriveC() const { return prefix_ / "drive_c"; }
  std::filesystem::path Shipped() const { return shipped_; }
  std::filesystem::path DemoGame() const { return demoGame_; }
  const std::string& Loader() const { return loader_; }

  ProcessOptions Options(const std::filesystem::path& workingDirectory = {}) const;
  Process Start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                const std::filesystem::path& workingDirectory) const;
  // Runs a Wine command-line tool such as "reg" to its end.
  RunResult Tool(const std::vector<std::string>& arguments) const;
  // Ends every program of the prefix.
  void EndAll() const;

 private:
  WineSession();

  std::string loader_;
  std::filesystem::path prefix_;
  std::filesystem::path programs_;
  std::filesystem::path probe_;
  std::filesystem::path shipped_;
  std::filesystem::path demoGame_;
  std::string problem_;
};

// The display's DPI (LogPixels) that the programs started while this lives see; 96 again after.
class DisplayDpi {
 public:
  DisplayDpi(const WineSession& session, int dpi) : session_(session) {
    session_.Tool({"reg", "add", kKey, "/v", "LogPixels", "/t", "REG_DWORD", "/d", std::to_string(dpi), "/f"});
  }
  DisplayDpi(const DisplayDpi&) = delete;
  DisplayDpi& operator=(const DisplayDpi&) = delete;
  ~DisplayDpi() { session_.Tool({"reg", "delete", kKey, "/v", "LogPixels", "/f"}); }

 private:
  static constexpr char kKey[] = "HKCU\\Control Panel\\Desktop";
  const WineSession& session_;
};

struct WindowInfo {
  std::string handle;
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct ControlInfo {
  std::string handle;
  std::string className;
  int id = 0;
  bool visible = false;
  bool enabled = false;
  int left = 0, top = 0, right = 0, bottom = 0;
  std::string text;
};

// The helper program inside the session that looks at windows for the tests.
class Probe {
 public:
  explicit Probe(const WineSession& session);
  // A copy of the probe at `program`, to stand in for another program ("window" command).
  Probe(const WineSession& session, const std::filesystem::path& program);
  // Sends one command and waits for its answer (a minute, or `waitMs` more than that).
  std::string Ask(const std::string& command, int waitMs = 0);

  std::optional<WindowInfo> WaitWindow(const std::string& title, int milliseconds = 15000);
  bool WaitGone(const std::string& title, int milliseconds = 10000);
  std::optional<WindowInfo> Rect(const std::string& handle);
  std::vector<ControlInfo> Children(const std::string& handle);
  std::optional<ControlInfo> Child(const std::string& handle, int id);
  std::string Text(const std::string& handle);
  // 0xRRGGBB of a screen pixel.
  std::uint32_t Pixel(int x, int y);
  // Waits until a screen pixel shows `colour` (0xRRGGBB); false when it did not in time.
  bool WaitPixel(int x, int y, std::uint32_t colour, int milliseconds = 3000);
  // A block of screen pixels, row by row.
  std::vector<std::vector<std::uint32_t>> Pixels(int x, int y, int width, int height);

 private:
  Process process_;
};

// Real pointer and keyboard input through the X server.
namespace input {
void MoveTo(int x, int y);
void Click(int x, int y, int button = 1);
// A left click in the middle of a control.
void ClickCentre(const ControlInfo& control);
void Press(int x, int y, int button = 1);
void Release(int button = 1);
void Type(const std::string& text);
void Key(const std::string& combination);
// Gives the keyboard to the top-level window of that title, as a window manager would, without
// any pointer event: the X server otherwise sends keys to the window under the pointer.
void FocusWindow(const std::string& title);
}  // namespace input

// A fresh folder for one test, removed afterwards.
class Sandbox {
 public:
  Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;
  ~Sandbox();

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path Copy(const std::filesystem::path& from, const std::string& name);

 private:
  std::filesystem::path path_;
};

}  // namespace pelorin::e2e
