#include "WineSession.h"

#include <cstdlib>
#include <sstream>
#include <thread>

namespace pelorin::e2e {

namespace {

using namespace std::chrono_literals;

std::string Setting(const char* name, const char* builtIn) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string(builtIn) : std::string(value);
}

std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream stream(text);
  while (std::getline(stream, part, separator)) parts.push_back(part);
  return parts;
}

std::optional<WindowInfo> ParseWindow(const std::string& handle, const std::string& rect) {
  WindowInfo info;
  info.handle = handle;
  std::istringstream stream(rect);
  if (!(stream >> info.left >> info.top >> info.right >> info.bottom)) return std::nullopt;
  return info;
}

}  // namespace

WineSession& WineSession::Get() {
  static WineSession session;
  return session;
}

WineSession::WineSession()
    : loader_(Setting("PELORIN_E2E_WINE", PELORIN_E2E_WINE)),
      prefix_(Setting("PELORIN_E2E_PREFIX", PELORIN_E2E_PREFIX)),
      programs_(Setting("PELORIN_E2E_PROGRAMS", PELORIN_E2E_PROGRAMS)),
      probe_(Setting("PELORIN_E2E_PROBE", PELORIN_E2E_PROBE)),
      shipped_(Setting("PELORIN_E2E_SHIPPED", PELORIN_E2E_SHIPPED)),
      demoGame_(Setting("PELORIN_E2E_DEMO_GAME", PELORIN_E2E_DEMO_GAME)) {
  if (Setting("DISPLAY", "").empty()) problem_ = "no X display: run the tests under xvfb-run";
  else if (loader_.empty() || prefix_.empty()) problem_ = "no Wine prefix: run the tests through ctest";
  else if (!std::filesystem::exists(programs_ / "Pelorin.exe")) problem_ = "programs not built in " + programs_.string();
  else if (!std::filesystem::exists(probe_)) problem_ = "probe not built: " + probe_.string();
}

ProcessOptions WineSession::Options(const std::filesystem::path& workingDirectory) const {
  ProcessOptions options;
  options.workingDirectory = workingDirectory.string();
  options.environment = {"WINEPREFIX=" + prefix_.string(), "WINEDEBUG=-all",
                         "WINEDLLOVERRIDES=mscoree,mshtml="};
  return options;
}

Process WineSession::Start(const std::filesystem::path& program,
                           const std::vector<std::string>& arguments,
                           const std::filesystem::path& workingDirectory) const {
  std::vector<std::string> argv{loader_, program.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return Process(argv, Options(workingDirectory));
}

RunResult WineSession::Tool(const std::vector<std::string>& arguments) const {
  std::vector<std::string> argv{loader_};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return Run(argv, Options(), 60s);
}

void WineSession::EndAll() const {
  Run({"wineserver", "-k"}, Options(), 20s);
  Run({"wineserver", "-w"}, Options(), 20s);
}

Probe::Probe(const WineSession& session) : Probe(session, session.ProbePath()) {}

Probe::Probe(const WineSession& session, const std::filesystem::path& program)
    : process_([&] {
        ProcessOptions options = session.Options();
        options.pipeInput = true;
        options.pipeOutput = true;
        return Process({session.Loader(), program.string()}, options);
      }()) {}

std::string Probe::Ask(const std::string& command, int waitMs) {
  process_.WriteLine(command);
  return process_.ReadLine(60s + std::chrono::milliseconds(waitMs)).value_or("(no answer)");
}

std::optional<WindowInfo> Probe::WaitWindow(const std::string& title, int milliseconds) {
  const std::string answer = Ask("wait \"" + title + "\" " + std::to_string(milliseconds), milliseconds);
  const std::size_t blank = answer.find(' ');
  if (answer == "none" || blank == std::string::npos) return std::nullopt;
  return ParseWindow(answer.substr(0, blank), answer.substr(blank + 1));
}

bool Probe::WaitGone(const std::string& title, int milliseconds) {
  return Ask("gone \"" + title + "\" " + std::to_string(milliseconds), milliseconds) == "gone";
}

std::optional<WindowInfo> Probe::Rect(const std::string& handle) {
  return ParseWindow(handle, Ask("rect " + handle));
}

std::vector<ControlInfo> Probe::Children(const std::string& handle) {
  std::vector<ControlInfo> controls;
  for (const std::string& entry : SplitOn(Ask("children " + handle), ';')) {
    const auto fields = SplitOn(entry, '|');
    if (fields.size() < 6) continue;
    ControlInfo control;
    control.handle = fields[0];
    control.className = fields[1];
    control.id = std::atoi(fields[2].c_str());
    control.visible = fields[3] == "1";
    control.enabled = fields[4] == "1";
    std::istringstream rect(fields[5]);
    rect >> control.left >> control.top >> control.right >> control.bottom;
    control.text = fields.size() > 6 ? fields[6] : "";
    controls.push_back(control);
  }
  return controls;
}

std::optional<ControlInfo> Probe::Child(const std::string& handle, int id) {
  for (const auto& control : Children(handle))
    if (control.id == id) return control;
  return std::nullopt;
}

std::string Probe::Text(const std::string& handle) { return Ask("text " + handle); }

std::uint32_t Probe::Pixel(int x, int y) {
  return static_cast<std::uint32_t>(
      std::stoul(Ask("pixel " + std::to_string(x) + " " + std::to_string(y)), nullptr, 16));
}

bool Probe::WaitPixel(int x, int y, std::uint32_t colour, int milliseconds) {
  for (int waited = 0;; waited += 100) {
    if (Pixel(x, y) == colour) return true;
    if (waited >= milliseconds) return false;
    std::this_thread::sleep_for(100ms);
  }
}

std::vector<std::vector<std::uint32_t>> Probe::Pixels(int x, int y, int width, int height) {
  std::vector<std::vector<std::uint32_t>> rows;
  const std::string answer = Ask("pixels " + std::to_string(x) + " " + std::to_string(y) + " " +
                                 std::to_string(width) + " " + std::to_string(height));
  for (const std::string& row : SplitOn(answer, ';')) {
    std::vector<std::uint32_t> pixels;
    std::istringstream stream(row);
    std::string word;
    while (stream >> word) pixels.push_back(static_cast<std::uint32_t>(std::stoul(word, nullptr, 16)));
    rows.push_back(pixels);
  }
  return rows;
}

namespace input {

namespace {

void Xdotool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "xdotool");
  Run(arguments, {}, 20s);
  std::this_thread::sleep_for(150ms);  // let Wine deliver the input before the next look
}

}  // namespace

void MoveTo(int x, int y) { Xdotool({"mousemove", std::to_string(x), std::to_string(y)}); }

void Click(int x, int y, int button) {
  MoveTo(x, y);
  Xdotool({"click", std::to_string(button)});
}

void ClickCentre(const ControlInfo& control) {
  Click((control.left + control.right) / 2, (control.top + control.bottom) / 2);
}

void Press(int x, int y, int button) {
  MoveTo(x, y);
  Xdotool({"mousedown", std::to_string(button)});
}

void Release(int button) { Xdotool({"mouseup", std::to_string(button)}); }

void Type(const std::string& text) { Xdotool({"type", "--delay", "40", text}); }

void Key(const std::string& combination) { Xdotool({"key", combination}); }

void FocusWindow(const std::string& title) {
  Xdotool({"search", "--name", "^" + title + "$", "windowfocus", "--sync"});
}

}  // namespace input

Sandbox::Sandbox() {
  // Not in /tmp: Wine shows a folder that everyone may write as one every account may change,
  // and setup installs into no folder below such a one.
  std::filesystem::create_directories(PELORIN_E2E_SANDBOXES);
  std::string pattern = (std::filesystem::path(PELORIN_E2E_SANDBOXES) / "pelorin-e2e-XXXXXX").string();
  path_ = mkdtemp(pattern.data());
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path Sandbox::Copy(const std::filesystem::path& from, const std::string& name) {
  const auto to = path_ / name;
  std::filesystem::copy(from, to, std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
  return to;
}

}  // namespace pelorin::e2e
