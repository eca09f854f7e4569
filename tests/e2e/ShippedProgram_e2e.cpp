#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "EditorFixture.h"
#include "Process.h"

namespace pelorin::e2e {
namespace {

using namespace std::chrono_literals;

std::filesystem::path Shipped() { return WineSession::Get().Shipped(); }

// The machine code of the shipped program is 32-bit x86, a GUI program that needs only
// system DLLs.
TEST(ShippedProgram, IsA32BitGuiProgramThatImportsOnlySystemDlls) {
  const auto program = Shipped() / "Pelorin.exe";
  ASSERT_TRUE(std::filesystem::exists(program)) << program;
  const RunResult headers = e2e::Run({"i686-w64-mingw32-objdump", "-p", program.string()});
  ASSERT_EQ(headers.exitCode, 0);
  EXPECT_NE(headers.output.find("file format pei-i386"), std::string::npos);
  EXPECT_NE(headers.output.find("Subsystem\t\t00000002\t(Windows GUI)"), std::string::npos);

  const std::vector<std::string> system = {"KERNEL32.DLL", "USER32.DLL",   "GDI32.DLL",
                                           "MSVCRT.DLL",   "SHELL32.DLL",  "ADVAPI32.DLL",
                                           "COMCTL32.DLL", "OLE32.DLL",    "VERSION.DLL"};
  std::size_t at = 0;
  int imports = 0;
  while ((at = headers.output.find("DLL Name: ", at)) != std::string::npos) {
    at += 10;
    std::string name = headers.output.substr(at, headers.output.find('\n', at) - at);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ++imports;
    EXPECT_NE(std::find(system.begin(), system.end(), name), system.end()) << name;
  }
  EXPECT_GT(imports, 0);
}

// The very file that ships, started under 32-bit Wine. Where the machine has no 32-bit
// execution of its own this runs through an emulator and takes a minute or two.
TEST(ShippedProgram, OpensItsWindowAndDrawsTheTypedName) {
  WineSession& session = WineSession::Get();
  ASSERT_EQ(session.Problem(), "");
  Sandbox sandbox;
  const auto program = sandbox.Copy(Shipped() / "Pelorin.exe", "Pelorin.exe");
  const auto game = sandbox.Copy(session.DemoGame(), "Quake3");
  Probe probe(session);
  // Started in the game folder, it takes that folder without asking.
  Process editor = session.Start(program, {}, game);
  const auto window = probe.WaitWindow("Pelorin", 400000);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Width(), 363);
  EXPECT_EQ(window->Height(), 183);

  input::Click(window->left + 60, window->top + 38);
  input::Type("^3Hi");
  bool yellow = false;
  for (int attempt = 0; attempt < 100 && !yellow; ++attempt) {
    for (const auto& row : probe.Pixels(window->left + 50, window->top + 54, 32, 16))
      for (auto pixel : row) yellow = yellow || pixel == kYellow;
    if (!yellow) std::this_thread::sleep_for(1s);
  }
  EXPECT_TRUE(yellow);
  session.EndAll();
}

}  // namespace
}  // namespace pelorin::e2e
