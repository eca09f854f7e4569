#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The DLLs Windows always takes from the system folder (the KnownDLLs list of Windows 10 and
// 11, with ntdll and kernelbase, which every process has before its imports): a DLL of
// another name is looked for beside the program first, where anyone who can write that
// folder could put their own.
constexpr const char* kKnownDlls[] = {
    "advapi32.dll", "clbcatq.dll",  "combase.dll", "comdlg32.dll", "coml2.dll",    "difxapi.dll",  "gdi32.dll",
    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",   "kernel32.dll", "kernelbase.dll", "msctf.dll",  "msvcrt.dll",
    "normaliz.dll", "nsi.dll",      "ntdll.dll",   "ole32.dll",    "oleaut32.dll", "psapi.dll",    "rpcrt4.dll",
    "sechost.dll",  "setupapi.dll", "shcore.dll",  "shell32.dll",  "shlwapi.dll",  "user32.dll",   "wldap32.dll",
    "ws2_32.dll"};

class PeImage {
 public:
  explicit PeImage(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // The DLL names of the import and delay-import tables, in lower case; a problem, when the
  // image cannot be read, goes to `problem`. With `functions`, the names of the functions
  // imported by name instead.
  std::vector<std::string> ImportedDlls(std::string& problem, bool functions = false) const {
    std::vector<std::string> names;
    const std::uint32_t header = U32(0x3C);
    if (U16(0) != 0x5A4D || U32(header) != 0x4550) {
      problem = "no PE image";
      return names;
    }
    const std::uint32_t optional = header + 24;
    const bool wide = U16(optional) == 0x20B;
    const std::uint32_t directories = optional + (wide ? 112 : 96);
    // Import descriptors are 20 bytes with the name at 12 and the name table at 0; delay ones
    // 32 bytes with them at 4 and 16.
    for (const auto& [index, size, nameAt, tableAt] : {std::tuple{1u, 20u, 12u, 0u}, std::tuple{13u, 32u, 4u, 16u}}) {
      const std::uint32_t rva = U32(directories + index * 8);
      if (rva == 0) continue;
      for (std::uint32_t at = Offset(rva); at != 0 && U32(at + nameAt) != 0; at += size) {
        if (!functions) {
          names.push_back(Lower(Text(Offset(U32(at + nameAt)))));
          continue;
        }
        const std::uint32_t entry = wide ? 8 : 4;
        for (std::uint32_t thunk = Offset(U32(at + tableAt)); thunk != 0 && U32(thunk) != 0; thunk += entry) {
          const bool byOrdinal = wide ? (U32(thunk + 4) & 0x80000000u) != 0 : (U32(thunk) & 0x80000000u) != 0;
          if (!byOrdinal) names.push_back(Text(Offset(U32(thunk) + 2)));  // after the 2-byte hint
        }
      }
    }
    return names;
  }

  // Whether the system may place the image anywhere: it asks for that (DYNAMIC_BASE) and
  // keeps the relocations that let it.
  bool Relocatable() const {
    const std::uint32_t header = U32(0x3C);
    const std::uint32_t optional = header + 24;
    const std::uint32_t directories = optional + (U16(optional) == 0x20B ? 112 : 96);
    constexpr std::uint32_t kDynamicBase = 0x40, kRelocations = 5;
    return (U16(optional + 70) & kDynamicBase) != 0 && U32(directories + kRelocations * 8 + 4) != 0;
  }

 private:
  std::uint32_t U16(std::size_t at) const {
    return at + 2 > bytes_.size() ? 0 : static_cast<unsigned char>(bytes_[at]) | static_cast<unsigned char>(bytes_[at + 1]) << 8;
  }
  std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }

  std::string Text(std::uint32_t at) const {
    std::string text;
    for (std::uint32_t c = at; c != 0 && c < bytes_.size() && bytes_[c] != '\0'; ++c) text += bytes_[c];
    return text;
  }
  static std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }

  // The file offset of an address in the image, or 0 when no section holds it.
  std::uint32_t Offset(std::uint32_t rva) const {
    const std::uint32_t header = U32(0x3C);
    const std::uint32_t sections = header + 24 + U16(header + 20);
    for (std::uint32_t i = 0; i < U16(header + 6); ++i) {
      const std::uint32_t at = sections + i * 40;
      const std::uint32_t start = U32(at + 12), size = std::max(U32(at + 8), U32(at + 16));
      if (rva >= start && rva < start + size) return rva - start + U32(at + 20);
    }
    return 0;
  }

  std::string bytes_;
};

TEST(ShippedImports, EveryProgramImportsOnlyKnownDlls) {
  const std::filesystem::path shipped = PELORIN_SHIPPED_DIR;
  for (const char* program : {"Pelorin.exe", "Uninstall.exe", "setup.exe"}) {
    SCOPED_TRACE(program);
    std::string problem;
    const std::vector<std::string> dlls = PeImage(shipped / program).ImportedDlls(problem);
    ASSERT_EQ(problem, "");
    EXPECT_FALSE(dlls.empty());
    for (const std::string& dll : dlls)
      EXPECT_NE(std::find(std::begin(kKnownDlls), std::end(kKnownDlls), dll), std::end(kKnownDlls)) << dll;
  }
}

// ANSI calls that take or give a path or a file name: each turns every character the ANSI
// code page lacks into "?", or a neighbouring one by best fit. Process32First and Next are
// the ANSI ones of their pair.
constexpr const char* kPathTakingAnsiCalls[] = {
    "CharToOemBuffA", "CopyFileA", "CreateDirectoryA", "CreateFileA", "CreateProcessA", "DeleteFileA",
    "DialogBoxParamA", "FindFirstFileA", "FindNextFileA", "GetCurrentDirectoryA", "GetFileAttributesA",
    "GetFileAttributesExA", "GetFinalPathNameByHandleA", "GetFullPathNameA", "GetLogicalDriveStringsA",
    "GetLongPathNameA", "GetModuleFileNameA", "GetModuleHandleA", "LoadLibraryA", "GetShortPathNameA", "GetSystemDirectoryA",
    "GetTempFileNameA", "GetTempPathA", "GetWindowsDirectoryA", "LoadImageA", "LoadLibraryExA",
    "MoveFileA", "MoveFileExA", "Process32First", "Process32Next", "QueryFullProcessImageNameA",
    "RegCreateKeyA", "RegCreateKeyExA", "RegDeleteKeyA", "RegDeleteValueA", "RegOpenKeyExA", "RegQueryValueExA",
    "RegSetValueExA", "RemoveDirectoryA", "ReplaceFileA", "SetCurrentDirectoryA", "SetDllDirectoryA",
    "SetFileAttributesA", "SHBrowseForFolderA", "SHGetFolderPathA", "SHGetPathFromIDListA",
    "SHGetSpecialFolderPathA", "ShellExecuteA", "ShellExecuteExA"};

// The programs start without the C runtime's start-up code, and keep what address space
// layout randomisation needs.
TEST(ShippedImports, EveryProgramCanBePlacedAnywhere) {
  const std::filesystem::path shipped = PELORIN_SHIPPED_DIR;
  for (const char* program : {"Pelorin.exe", "Uninstall.exe", "setup.exe"})
    EXPECT_TRUE(PeImage(shipped / program).Relocatable()) << program;
}

TEST(ShippedImports, NoProgramTakesPathsThroughAnsiCalls) {
  const std::filesystem::path shipped = PELORIN_SHIPPED_DIR;
  for (const char* program : {"Pelorin.exe", "Uninstall.exe", "setup.exe"}) {
    SCOPED_TRACE(program);
    std::string problem;
    const std::vector<std::string> functions = PeImage(shipped / program).ImportedDlls(problem, true);
    ASSERT_EQ(problem, "");
    EXPECT_FALSE(functions.empty());
    for (const std::string& function : functions)
      EXPECT_EQ(std::find(std::begin(kPathTakingAnsiCalls), std::end(kPathTakingAnsiCalls), function),
                std::end(kPathTakingAnsiCalls))
          << function;
  }
}

}  // namespace
