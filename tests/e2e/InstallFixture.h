#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorFixture.h"

namespace pelorin::e2e {

inline constexpr char kUninstallKey[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelorin";
// An install for the account alone registers here.
inline constexpr char kUserUninstallKey[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelorin";
// Wine runs programs with administrator rights: setup links into every user's Start Menu.
inline constexpr char kStartMenu[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";

// What an install of the shipped setup information leaves in a prefix, and a way to clear it.
struct InstallPlaces {
  WineSession& session;

  std::filesystem::path Folder() const { return session.DriveC() / "Program Files/Brackwater/Pelorin"; }
  // Where the shipped 32-bit setup installs: the 32-bit programs' Program Files folder.
  std::filesystem::path Folder32() const { return session.DriveC() / "Program Files (x86)/Brackwater/Pelorin"; }
  std::filesystem::path LinkFolder() const {
    return session.DriveC() / "ProgramData/Microsoft/Windows/Start Menu/Programs/Brackwater";
  }
  // An install for the account alone: its own programs folder and Start Menu.
  std::filesystem::path UserFolder() const { return session.DriveC() / "users/root/AppData/Local/Programs/Brackwater/Pelorin"; }
  std::filesystem::path UserLinkFolder() const {
    return session.DriveC() / "users/root/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Brackwater";
  }
  // The folders setup makes for itself under the temporary folder.
  std::vector<std::filesystem::path> SetupFolders() const {
    std::vector<std::filesystem::path> folders;
    for (const auto& entry : std::filesystem::directory_iterator(session.TempFolder()))
      if (entry.path().filename().string().starts_with("PelorinSetup-")) folders.push_back(entry.path());
    return folders;
  }
  static std::string Link() { return std::string(kStartMenu) + "\\Programs\\Brackwater\\Pelorin\\Pelorin.lnk"; }
  static std::string Log() {
    return "Pelorin\r\n1.2 (build 16)\r\nPelorin.exe\r\nUninstall.exe\r\nPelorin.exe\r\n&" + Link() + "\r\n";
  }
  // The removal registration as `reg query` lists it; `view` is "/reg:32" or "/reg:64".
  std::string Registration(const std::string& view) const {
    return session.Tool({"reg", "query", kUninstallKey, view}).output;
  }

  void Clear() const {
    std::error_code ignored;
    std::filesystem::remove_all(session.DriveC() / "Program Files/Brackwater", ignored);
    std::filesystem::remove_all(session.DriveC() / "Program Files (x86)/Brackwater", ignored);
    std::filesystem::remove_all(LinkFolder(), ignored);
    std::filesystem::remove_all(UserLinkFolder(), ignored);
    std::filesystem::remove_all(UserFolder().parent_path(), ignored);
    std::filesystem::remove_all(session.TempFolder() / "SetupTemp", ignored);
    for (const auto& folder : SetupFolders()) std::filesystem::remove_all(folder, ignored);
    for (const char* view : {"/reg:32", "/reg:64"}) session.Tool({"reg", "delete", kUninstallKey, "/f", view});
    session.Tool({"reg", "delete", kUserUninstallKey, "/f"});
  }
};

// A test that installs into the shipped setup information's places, which it clears before
// and after.
class InstallPlacesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.Problem(), "");
    places_.Clear();
  }
  void TearDown() override {
    session_.EndAll();
    places_.Clear();
  }

  WineSession& session_ = WineSession::Get();
  InstallPlaces places_{session_};
  Sandbox sandbox_;
  Probe probe_{session_};
};

// Whether `reg query` output lists a value of that name, type and data.
inline bool HasValue(const std::string& query, const std::string& name, const std::string& type,
                     const std::string& data) {
  return query.find(name + "    " + type + "    " + data + "\r\n") != std::string::npos ||
         query.find(name + "    " + type + "    " + data + "\n") != std::string::npos;
}

}  // namespace pelorin::e2e
