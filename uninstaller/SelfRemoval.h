#pragma once

#include <string>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// A running program cannot delete its own file, so the uninstaller leaves a batch file behind
// that waits for it to end, then deletes it and the files the editor writes beside itself,
// each by name, removes the folders that are left empty, and deletes itself.

// Every path as the command interpreter is to read it (the console's code page), without a
// trailing backslash; empty where that code page cannot hold it. An empty batch folder, or
// program in it, is named through the interpreter's own name for the batch file's folder
// ("%~dp0"), which holds any character; other paths left empty are not the batch file's.
struct SelfRemovalPaths {
  std::string programPath;           // the uninstaller's own file
  std::string installFolder;         // empty when the editor's files are no longer the batch file's
  std::vector<std::string> folders;  // tried with rmdir in this order: the deepest first
  std::string batchFolder;           // the folder this run created for the batch file alone
  std::string systemFolder;          // where the programs the batch file calls live
};

inline constexpr char kBatchFolderPrefix[] = "PelorinUninstall-";
inline constexpr char kBatchFileName[] = "uninstall.bat";
// The uninstaller's file once it has moved itself into the batch file's folder.
inline constexpr char kUninstallerCopyName[] = "Uninstall.exe";
// What the editor writes beside itself; no log names them.
inline constexpr const char* kEditorFiles[] = {"settings.ini", "settings.ini.tmp"};

// The batch file's text, CR LF line ends. Every path in it is quoted and has "%" doubled, so
// that no character of a path is read as a command; nothing is ever deleted by a wildcard,
// and rmdir removes only an empty folder.
std::string SelfRemovalBatch(const SelfRemovalPaths& paths);

// How the batch file is to be started: by the system's own interpreter, without AutoRun
// commands and delayed expansion, which could change what it does. With /s the interpreter
// takes the line between the outer quotes as it stands, so a path holding "&" or "(" stays
// one path.
std::string SelfRemovalCommand(const std::string& systemFolder, const std::string& batchFile);

}  // namespace pelorin
