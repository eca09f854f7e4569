#pragma once

#include "Str.h"
#include <string_view>

#include "InstallScope.h"

namespace pelorin {

// The switches of setup and the uninstaller, for runs without a person at the screen.
struct CommandLine {
  bool quiet = false;     // "/S": no window that waits for an answer
  bool help = false;      // "/?": show the switches
  bool hasFolder = false;
  String folder;     // "/D=<folder>": the install folder, without quotes
  ScopeSwitch scope = ScopeSwitch::kNone;  // "/ALLUSERS" or "/CURRENTUSER"
  // What a setup run hands to its own start with administrator rights once its wizard is done:
  // "/INSTALL" installs into the folder given without the wizard's pages, "/RUN" then starts
  // the editor.
  bool chosen = false;
  bool runAfter = false;
  String unknown;    // the first switch that is not known, or a "/D=" without a folder
  bool Valid() const { return unknown.empty(); }
};

// Reads the program's arguments (the command line without the program's own path). Switch
// letters may be of either case. "/D=" is taken only when `folderAllowed`, and it must come
// last: the rest of the line is the folder, blanks and all, with any quotes dropped. A line
// with an unknown switch before "/D=" has no folder. "/ALLUSERS" and "/CURRENTUSER" are
// setup's too (with `folderAllowed`); both in one line is a line not understood.
CommandLine ParseCommandLine(std::string_view arguments, bool folderAllowed);

// The arguments that give a run started again with administrator rights the same choices as
// `line` (ParseCommandLine reads them back as they were).
String HandOverArguments(const CommandLine& line);

inline constexpr char kSetupUsage[] =
    "Usage: setup.exe [/S] [/ALLUSERS | /CURRENTUSER] [/D=folder]\r\n\r\n"
    "/S\tinstall without any question or message\r\n"
    "/ALLUSERS\tinstall for every user (asks for administrator rights)\r\n"
    "/CURRENTUSER\tinstall for you alone, in your own folders\r\n"
    "/D=folder\tinstall into this folder; it must come last, blanks and quotes allowed\r\n"
    "/?\tshow this text";
inline constexpr char kUninstallUsage[] =
    "Usage: Uninstall.exe [/S]\r\n\r\n"
    "/S\tremove without any question or message (shared system files are kept)\r\n"
    "/?\tshow this text";

// Exit codes of setup and the uninstaller.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;       // setup data unreadable, removal declined, or no install.log
inline constexpr int kExitUsage = 2;        // a switch that is not known
inline constexpr int kExitStopped = 3;      // the install stopped before copying anything
inline constexpr int kExitIncomplete = 4;   // installed, but some files could not be written; or removed, but some files stay
inline constexpr int kExitProgramRunning = 5;  // the editor did not end, so nothing was removed

}  // namespace pelorin
