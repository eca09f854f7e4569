#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include "Str.h"
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// A running program cannot delete its own file. The uninstaller moves its file into a folder
// of its own below the temporary folder, or, where it cannot (another drive), copies itself
// there and starts the copy, which deletes the original by its identity once it has ended.
// A batch file in that folder then waits for the file there to be free, deletes it, itself
// and the folder: it deletes no file outside that folder, so nothing is left to it in the
// install folder, where a setup started right afterwards may already be writing. It only
// tries again to remove, with rmdir, which takes only an empty folder, the recorded folders
// that another program still stood in when the uninstaller removed them.

// Every path as the command interpreter is to read it (the console's code page), without a
// trailing backslash; empty where that code page cannot hold it. An empty batch folder, or
// program in it, is named through the interpreter's own name for the batch file's folder
// ("%~dp0"), which holds any character; other paths left empty are not the batch file's.
struct SelfRemovalPaths {
  String programPath;           // the uninstaller's file in the batch file's folder
  String batchFolder;           // the folder this run created for the batch file alone
  String systemFolder;          // where the programs the batch file calls live
  const std::vector<String>& folders;  // tried with rmdir in this order: the deepest first
};

inline constexpr char kBatchFolderPrefix[] = "PelorinUninstall-";
inline constexpr char kBatchFileName[] = "uninstall.bat";
// The uninstaller's file once it has moved or copied itself into the batch file's folder.
inline constexpr char kUninstallerCopyName[] = "Uninstall.exe";
// What the editor writes beside itself; no log names them.
inline constexpr const char* kEditorFiles[] = {"settings.ini", "settings.ini.tmp"};

// The batch file's text, CR LF line ends. Every path in it is quoted and has "%" doubled, so
// that no character of a path is read as a command; nothing is ever deleted by a wildcard,
// and rmdir removes only an empty folder.
String SelfRemovalBatch(const SelfRemovalPaths& paths);

// How the batch file is to be started: by the system's own interpreter, without AutoRun
// commands and delayed expansion, which could change what it does. With /s the interpreter
// takes the line between the outer quotes as it stands, so a path holding "&" or "(" stays
// one path.
String SelfRemovalCommand(const String& systemFolder, const String& batchFile);

// What the uninstaller's copy is told by the original: the original's process and its file
// opened for deletion, as handle values the copy inherits, the install folder and how many
// folders from it upwards setup made, which go once empty. The folder lies in the text it
// was read from.
struct OriginalRemoval {
  std::uint64_t process = 0;
  std::uint64_t file = 0;
  std::size_t levels = 0;
  std::string_view installFolder;
};

// The copy's arguments: one switch, the install folder last, as the rest of the line.
String OriginalRemovalArguments(const OriginalRemoval& removal);
// Nothing when the arguments are not exactly such a switch.
std::optional<OriginalRemoval> ParseOriginalRemoval(std::string_view arguments);

}  // namespace pelorin
