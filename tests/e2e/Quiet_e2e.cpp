#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

#include "RemovalFixture.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr char kFolder[] = "C:\\Program Files\\Brackwater\\Pelorin\\";

// The data of a value as `reg query` lists it, or empty.
std::string ValueData(const std::string& query, const std::string& name) {
  const std::string start = "    " + name + "    REG_SZ    ";
  const std::size_t at = query.find(start);
  if (at == std::string::npos) return "";
  const std::size_t from = at + start.size();
  std::string data = query.substr(from, query.find('\n', from) - from);
  if (data.ends_with('\r')) data.pop_back();
  return data;
}

// The account's temporary folder as the prefix's programs get it (TEMP and TMP of
// HKCU\Environment), set to `folder` until this goes.
class TemporaryFolderSetting {
 public:
  TemporaryFolderSetting(const WineSession& session, const std::string& folder) : session_(session) {
    const std::string key = session_.Tool({"reg", "query", kKey}).output;
    for (const char* name : {"TEMP", "TMP"}) {
      const std::string earlier = ValueData(key, name);
      earlier_.push_back(earlier.empty() ? "C:\\users\\root\\Temp" : earlier);
      session_.Tool({"reg", "add", kKey, "/v", name, "/d", folder, "/f"});
    }
  }
  TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
  TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;
  ~TemporaryFolderSetting() {
    const char* names[] = {"TEMP", "TMP"};
    for (int i = 0; i < 2; ++i) session_.Tool({"reg", "add", kKey, "/v", names[i], "/d", earlier_[i], "/f"});
  }

 private:
  static constexpr char kKey[] = "HKCU\\Environment";
  const WineSession& session_;
  std::vector<std::string> earlier_;
};

// Another account's move: the moment the first folder of the uninstaller appears in `folder`,
// a batch file of its own goes in, and whenever someone else has written it, its own text goes
// back in, which would leave `marker` behind if it ever ran.
class BatchPlanter {
 public:
  BatchPlanter(const std::filesystem::path& folder, const std::string& marker)
      : watch_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), text_("@echo planted> \"" + marker + "\"\r\n") {
    const int top = inotify_add_watch(watch_, folder.c_str(), IN_CREATE | IN_MOVED_TO);
    thread_ = std::thread([this, folder, top] {
      alignas(inotify_event) char buffer[4096];
      while (!stop_) {
        pollfd ready{watch_, POLLIN, 0};
        if (poll(&ready, 1, 20) <= 0) continue;
        const ssize_t got = read(watch_, buffer, sizeof(buffer));
        for (ssize_t at = 0; at < got;) {
          const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
          at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
          if (event->len == 0) continue;
          const std::string name = event->name;
          if (event->wd == top && plantedIn.empty() && name.starts_with("PelorinUninstall-") &&
              Write(folder / name / "uninstall.bat", "wx")) {
            plantedIn.push_back(folder / name);
            inotify_add_watch(watch_, (folder / name).c_str(), IN_CLOSE_WRITE);
          } else if (event->wd != top && name == "uninstall.bat" && !rewritten_) {
            rewritten_ = Write(plantedIn.front() / name, "w");
          }
        }
      }
    });
  }
  BatchPlanter(const BatchPlanter&) = delete;
  BatchPlanter& operator=(const BatchPlanter&) = delete;
  ~BatchPlanter() {
    Stop();
    close(watch_);
  }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  std::vector<std::filesystem::path> plantedIn;  // read after Stop

 private:
  bool Write(const std::filesystem::path& path, const char* mode) {
    FILE* file = std::fopen(path.c_str(), mode);
    if (file == nullptr) return false;
    std::fputs(text_.c_str(), file);
    return std::fclose(file) == 0;
  }

  int watch_;
  std::string text_;
  bool rewritten_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Drive D: of the prefix, on another file system than drive C:, so that no file moves from
// one to the other; gone again with this.
class SecondDrive {
 public:
  explicit SecondDrive(const WineSession& session) : link_(session.DriveC().parent_path() / "dosdevices" / "d:") {
    std::filesystem::create_directories(root_);
    std::filesystem::create_directory_symlink(root_, link_);
  }
  SecondDrive(const SecondDrive&) = delete;
  SecondDrive& operator=(const SecondDrive&) = delete;
  ~SecondDrive() {
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_ = "/dev/shm/pelorin-e2e-d-" + std::to_string(getpid());
  std::filesystem::path link_;
};

// Setup and the uninstaller with their switches: a run that showed any window waiting for an
// answer would not end by itself.
class QuietTest : public InstallPlacesTest {
 protected:
  void TearDown() override {
    InstallPlacesTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(OtherPlace().parent_path(), ignored);
  }

  std::filesystem::path OtherPlace() const { return session_.DriveC() / "Other Place/Pel"; }
  std::filesystem::path SetupCopy() { return sandbox_.Copy(session_.Programs() / "setup.exe", "setup.exe"); }

  std::optional<int> RunSetup(const std::vector<std::string>& arguments) {
    Process setup = session_.Start(setup_, arguments, sandbox_.Path());
    return setup.Wait(60s);
  }

  // Setup unpacks into a folder of its own, which goes when it ends.
  void ExpectPackCopiesGone() { EXPECT_TRUE(places_.SetupFolders().empty()); }

  void ExpectInstalledIn(const std::filesystem::path& folder) {
    // Compared as truth values: a difference would print whole programs.
    EXPECT_TRUE(ReadFile(folder / "Pelorin.exe") == ReadFile(session_.Programs() / "Pelorin.exe"));
    EXPECT_TRUE(ReadFile(folder / "Uninstall.exe") == ReadFile(session_.Programs() / "Uninstall.exe"));
    EXPECT_EQ(ReadFile(folder / "install.log"), InstallPlaces::Log());
  }

  std::filesystem::path setup_ = SetupCopy();
};

TEST_F(QuietTest, InstallTwiceThenRemoveWithTheRegisteredQuietCommand) {
  ASSERT_EQ(RunSetup({"/S"}), 0);
  ExpectPackCopiesGone();
  ExpectInstalledIn(places_.Folder());
  EXPECT_EQ(probe_.Ask("link \"" + InstallPlaces::Link() + "\""),
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5CPelorin.exe|"
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5C||Pelorin|"
            "C:\\x5CProgram Files\\x5CBrackwater\\x5CPelorin\\x5CPelorin.exe|0|1");
  std::string key = places_.Registration("/reg:64");
  EXPECT_EQ(ValueData(key, "DisplayName"), "Pelorin v1.2 (build 16)");
  EXPECT_EQ(ValueData(key, "UninstallString"), "\"" + std::string(kFolder) + "Uninstall.exe\"");
  EXPECT_EQ(ValueData(key, "InstallLocation"), kFolder);

  // Over the first install: the user's settings stay, the log lists each entry once.
  const std::string settings = "C:\\Quake3\\\r\n^1Neo\r\n";
  WriteFile(places_.Folder() / "settings.ini", settings);
  ASSERT_EQ(RunSetup({"/S"}), 0);
  ExpectInstalledIn(places_.Folder());
  EXPECT_EQ(ReadFile(places_.Folder() / "settings.ini"), settings);

  key = places_.Registration("/reg:64");
  const std::string quiet = ValueData(key, "QuietUninstallString");
  ASSERT_EQ(quiet, "\"" + std::string(kFolder) + "Uninstall.exe\" /S") << key;
  // The command as the system's list of programs runs it: the quoted program, then "/S".
  Process uninstall = session_.Start(quiet.substr(1, quiet.rfind('"') - 1), {quiet.substr(quiet.rfind('"') + 2)},
                                     sandbox_.Path());
  EXPECT_EQ(uninstall.Wait(60s), 0);
  // Done when it returns: a setup started now finds nothing of the removal still at work.
  EXPECT_FALSE(std::filesystem::exists(places_.Folder().parent_path()));
  EXPECT_FALSE(std::filesystem::exists(places_.LinkFolder()));
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));
  ExpectBatchFoldersGone(session_);
}

// Setup and the uninstaller are one program: its image without the pack and without the
// removal mark is setup, whose data is missing, even with /S in an install folder beside its
// log; it changes nothing there. The uninstaller it was cut from still removes.
TEST_F(QuietTest, SetupsImageWithoutItsPackNeverRemoves) {
  ASSERT_EQ(RunSetup({"/S"}), 0);
  const std::string uninstaller = ReadFile(places_.Folder() / "Uninstall.exe");
  constexpr std::size_t kMarkSize = 32;
  ASSERT_GT(uninstaller.size(), kMarkSize);
  WriteFile(places_.Folder() / "setup-image.exe", uninstaller.substr(0, uninstaller.size() - kMarkSize));
  const std::string registration = places_.Registration("/reg:64");
  Process image = session_.Start(places_.Folder() / "setup-image.exe", {"/S"}, sandbox_.Path());
  EXPECT_EQ(image.Wait(60s), 1);
  std::filesystem::remove(places_.Folder() / "setup-image.exe");
  ExpectInstalledIn(places_.Folder());
  EXPECT_TRUE(std::filesystem::exists(places_.LinkFolder()));
  EXPECT_EQ(places_.Registration("/reg:64"), registration);
  ExpectPackCopiesGone();

  Process uninstall = session_.Start(places_.Folder() / "Uninstall.exe", {"/S"}, sandbox_.Path());
  EXPECT_EQ(uninstall.Wait(60s), 0);
  EXPECT_FALSE(std::filesystem::exists(places_.Folder()));
  ExpectBatchFoldersGone(session_, 60s);
}

// A folder given on the command line, then an upgrade that finds it by itself, in a quiet
// run and on the wizard's path page.
TEST_F(QuietTest, AnEarlierInstallsFolderIsUsedAgain) {
  ASSERT_EQ(RunSetup({"/S", "/D=C:\\Other", "Place\\Pel"}), 0);
  ExpectInstalledIn(OtherPlace());
  EXPECT_FALSE(std::filesystem::exists(places_.Folder()));

  // An older editor is replaced (a newer one would be kept).
  WriteFile(OtherPlace() / "Pelorin.exe", "an older editor");
  std::filesystem::last_write_time(OtherPlace() / "Pelorin.exe", std::filesystem::file_time_type::clock::now() - 24h * 3650);
  ASSERT_EQ(RunSetup({"/S"}), 0);
  ExpectInstalledIn(OtherPlace());
  EXPECT_FALSE(std::filesystem::exists(places_.Folder()));

  Process setup = session_.Start(setup_, {}, sandbox_.Path());
  const auto wizard = probe_.WaitWindow("Pelorin v1.2 (build 16)", 20000);
  ASSERT_TRUE(wizard);
  input::ClickCentre(*probe_.Child(wizard->handle, 110));  // Begin
  EXPECT_EQ(probe_.Text(probe_.Child(wizard->handle, 131)->handle), "C:\\x5COther Place\\x5CPel");
  input::Key("Escape");  // back to the licence page
  input::Key("Escape");  // cancel
  EXPECT_EQ(setup.Wait(20s), 0);
}

TEST_F(QuietTest, AFolderThatCannotBeMadeFailsAndLeavesNothing) {
  WriteFile(sandbox_.Path() / "blocker", "a file where a folder should go");
  EXPECT_EQ(RunSetup({"/S", "/D=" + WinePath(sandbox_.Path() / "blocker" / "Pelorin")}), 3);
  ExpectPackCopiesGone();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sandbox_.Path()), {}), 2);  // setup, blocker
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));
  EXPECT_FALSE(std::filesystem::exists(places_.LinkFolder()));

  EXPECT_EQ(RunSetup({"/S", "/X"}), 2);
}

// Setup finds the editor open: the wizard's install asks until it is closed; a quiet one
// closes it.
TEST_F(QuietTest, ARunningEditorIsClosedBeforeCopying) {
  ASSERT_EQ(RunSetup({"/S"}), 0);
  const auto game = sandbox_.Copy(session_.DemoGame(), "Quake3");
  WriteFile(places_.Folder() / "settings.ini", WinePath(game) + "\r\n\r\n");
  const auto editorFile = places_.Folder() / "Pelorin.exe";
  std::optional<Process> editor(session_.Start(editorFile, {}, places_.Folder()));
  const auto window = probe_.WaitWindow("Pelorin", 20000);
  ASSERT_TRUE(window);
  std::filesystem::remove(places_.Folder() / "Uninstall.exe");  // not held: shows what was copied

  Process setup = session_.Start(setup_, {}, sandbox_.Path());
  const auto wizard = probe_.WaitWindow("Pelorin v1.2 (build 16)", 20000);
  ASSERT_TRUE(wizard);
  for (int id : {110, 111, 133, 112}) input::ClickCentre(*probe_.Child(wizard->handle, id));
  std::string box = probe_.Ask("dialog Setup 20000", 20000);
  EXPECT_NE(box.find("Pelorin is running. Close it and press Retry, or press Cancel to stop the installation."),
            std::string::npos) << box;
  EXPECT_FALSE(std::filesystem::exists(places_.Folder() / "Uninstall.exe")) << "copied before the answer";
  probe_.Ask("post " + window->handle + " 16 0 0");  // WM_CLOSE
  ASSERT_EQ(editor->Wait(20s), 0);
  probe_.Ask("press " + box.substr(0, box.find(' ')) + " &Retry");
  EXPECT_EQ(setup.Wait(60s), 0);
  ExpectInstalledIn(places_.Folder());

  editor.emplace(session_.Start(editorFile, {}, places_.Folder()));
  ASSERT_TRUE(probe_.WaitWindow("Pelorin", 20000));
  EXPECT_EQ(RunSetup({"/S"}), 0);
  EXPECT_EQ(editor->Wait(20s), 0) << "the editor did not end by its own shut-down";
  ExpectInstalledIn(places_.Folder());

  // Another program's window with the editor's class and title neither holds setup up nor
  // is closed.
  Probe other(session_, sandbox_.Copy(session_.ProbePath(), "other.exe"));
  ASSERT_NE(other.Ask("window PelorinMain Pelorin"), "none");
  EXPECT_EQ(RunSetup({"/S"}), 0);
  EXPECT_TRUE(probe_.WaitWindow("Pelorin", 0)) << "the other program's window was closed";
}

// The batch file is started through the interpreter's /s rule: a temporary folder holding
// "&" and "(" still ends with everything gone, the uninstaller's own copy included.
TEST_F(QuietTest, ATemporaryFolderWithAmpersandAndBracketsStillRemovesEverything) {
  ASSERT_EQ(RunSetup({"/S"}), 0);
  const auto temporary = session_.TempFolder() / "T&J (IT)";
  std::filesystem::create_directories(temporary);
  {
    TemporaryFolderSetting setting(session_, "C:\\users\\root\\Temp\\T&J (IT)");
    EXPECT_EQ(session_.Start(places_.Folder() / "Uninstall.exe", {"/S"}, sandbox_.Path()).Wait(60s), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(places_.Folder()));
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));
  std::string left;
  const bool gone = WaitUntil([&] {
    left.clear();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temporary))
      if (!entry.is_directory()) left += " " + entry.path().string();
    return left.empty();
  }, 60s);
  EXPECT_TRUE(gone) << left;
  std::error_code ignored;
  std::filesystem::remove_all(temporary, ignored);
}

// Names outside the ANSI code page (1252 here): a temporary folder in Cyrillic and an install
// folder in Chinese. Setup makes its folder and installs, the log and registration name the
// folder exactly, and the removal, its batch file included, leaves nothing behind.
TEST_F(QuietTest, FoldersNamedInOtherScriptsInstallAndRemoveCompletely) {
  ProcessOptions utf8 = session_.Options(sandbox_.Path());
  utf8.environment.insert(utf8.environment.end(), {"LANG=C.UTF-8", "LC_ALL=C.UTF-8"});
  const auto tool = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), session_.Loader());
    return pelorin::e2e::Run(arguments, utf8, 60s);
  };
  const auto start = [&](const std::filesystem::path& program, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {session_.Loader(), program.string()});
    return Process(arguments, utf8);
  };
  const std::string temporaryName = "\xD0\x92\xD1\x80\xD0\xB5\xD0\xBC\xD1\x8F";  // Время
  const std::string folderName = "\xE7\xA8\x8B\xE5\xBA\x8F";                         // 程序
  const auto temporary = session_.TempFolder() / temporaryName;
  const auto installed = session_.DriveC() / folderName / "Pel";
  std::filesystem::create_directories(temporary);
  const std::string key = "HKCU\\Environment";
  const std::string earlier = ValueData(tool({"reg", "query", key}).output, "TEMP");
  for (const char* name : {"TEMP", "TMP"})
    tool({"reg", "add", key, "/v", name, "/d", "C:\\users\\root\\Temp\\" + temporaryName, "/f"});

  EXPECT_EQ(start(setup_, {"/S", "/D=C:\\" + folderName + "\\Pel"}).Wait(60s), 0);
  EXPECT_TRUE(std::filesystem::exists(installed / "Pelorin.exe"));
  EXPECT_TRUE(KeyExists(session_, kUninstallKey));
  // The code page cannot hold the folders setup made: their record is UTF-8 after the mark.
  std::ifstream record(installed / "folders.log", std::ios::binary);
  const std::string recorded((std::istreambuf_iterator<char>(record)), std::istreambuf_iterator<char>());
  EXPECT_EQ(recorded, "\xEF\xBB\xBF" "C:\\" + folderName + "\r\nC:\\" + folderName + "\\Pel\r\n");
  EXPECT_EQ(start(installed / "Uninstall.exe", {"/S"}).Wait(60s), 0);
  std::string left;
  const bool gone = WaitUntil([&] {
    left.clear();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temporary))
      if (!entry.is_directory()) left += " " + entry.path().string();
    return left.empty() && !std::filesystem::exists(session_.DriveC() / folderName);
  }, 60s);
  EXPECT_TRUE(gone) << left;
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));

  for (const char* name : {"TEMP", "TMP"})
    tool({"reg", "add", key, "/v", name, "/d", earlier.empty() ? "C:\\users\\root\\Temp" : earlier, "/f"});
  std::error_code ignored;
  std::filesystem::remove_all(temporary, ignored);
  std::filesystem::remove_all(session_.DriveC() / folderName, ignored);
}

// A batch file that another account puts into the uninstaller's folder the moment it appears
// is never run (Windows' rights keep it out; Wine has none, so the file gets in), and the
// removal still completes.
TEST_F(QuietTest, ABatchFilePlantedInTheRemovalsFolderNeverRuns) {
  ASSERT_EQ(RunSetup({"/S"}), 0);
  const auto marker = session_.DriveC() / "planted.txt";
  std::filesystem::remove(marker);
  BatchPlanter planter(session_.TempFolder(), "C:\\planted.txt");
  EXPECT_EQ(session_.Start(places_.Folder() / "Uninstall.exe", {"/S"}, sandbox_.Path()).Wait(60s), 0);
  EXPECT_FALSE(std::filesystem::exists(places_.Folder()));
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));
  // The uninstaller's own copy goes by its own batch file, elsewhere; the planted one stays.
  const auto copyLeft = [&] {
    for (const auto& folder : std::filesystem::directory_iterator(session_.TempFolder()))
      if (folder.path().filename().string().starts_with("PelorinUninstall-") &&
          std::filesystem::exists(folder.path() / "Uninstall.exe"))
        return true;
    return false;
  };
  EXPECT_TRUE(WaitUntil([&] { return !copyLeft(); }, 60s));
  planter.Stop();
  EXPECT_FALSE(planter.plantedIn.empty()) << "the uninstaller's folder was never seen";
  EXPECT_FALSE(std::filesystem::exists(marker)) << "the planted batch file ran";
  for (const auto& folder : planter.plantedIn) std::filesystem::remove_all(folder);
}

// An install on another drive than the temporary folder: the uninstaller cannot move itself
// out, so its copy deletes it once it has ended, and its batch file names nothing there. A
// setup started the moment the removal returns keeps its new uninstaller and settings.
TEST_F(QuietTest, ARemovalFromAnotherDriveLeavesTheNextInstallAlone) {
  const SecondDrive drive(session_);
  const std::filesystem::path folder = drive.Root() / "Pelorin";
  const std::string settings = "C:\\Quake3\\\r\n^1Neo\r\n";
  ASSERT_EQ(RunSetup({"/S", "/D=D:\\Pelorin"}), 0);
  ExpectInstalledIn(folder);
  WriteFile(folder / "settings.ini", settings);
  EXPECT_EQ(session_.Start(folder / "Uninstall.exe", {"/S"}, sandbox_.Path()).Wait(60s), 0);
  ASSERT_EQ(RunSetup({"/S", "/D=D:\\Pelorin"}), 0);
  WriteFile(folder / "settings.ini", settings);
  ExpectBatchFoldersGone(session_, 30s);
  ExpectInstalledIn(folder);
  EXPECT_EQ(ReadFile(folder / "settings.ini"), settings);

  EXPECT_EQ(session_.Start(folder / "Uninstall.exe", {"/S"}, sandbox_.Path()).Wait(60s), 0);
  ExpectFolderRemoved(folder);
  EXPECT_FALSE(KeyExists(session_, kUninstallKey));
  ExpectBatchFoldersGone(session_, 30s);
}

}  // namespace
}  // namespace pelorin::e2e
