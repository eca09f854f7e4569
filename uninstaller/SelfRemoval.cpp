#include "SelfRemoval.h"

#include "Processes.h"
#include "TextLines.h"

namespace pelorin {

namespace {

// About a second between tries, about five minutes in all.
constexpr char kTries[] = "300";
constexpr char kPause[] = "ping -n 2 127.0.0.1 >nul";

// A path as the command interpreter must see it: quoted, so that blanks and characters such
// as "&" stay inside it, and with "%" doubled, which a batch file would expand.
std::string BatchPath(const std::string& path) {
  std::string escaped;
  for (char c : path) {
    escaped += c;
    if (c == '%') escaped += '%';
  }
  return QuotedPath(escaped);
}

std::string WithoutTrailingBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
}

}  // namespace

std::string SelfRemovalBatch(const SelfRemovalPaths& paths) {
  const std::string folder = paths.shortFolder.empty() ? FolderOfPath(paths.programPath) : paths.shortFolder;
  const std::string program = paths.shortProgram.empty() ? paths.programPath : paths.shortProgram;
  const std::string answerFile = BatchPath(paths.setupTemp + kAnswerFileName);
  std::vector<std::string> lines = {
      "@echo off",
      // The interpreter must not stand in the install folder, or that folder cannot be removed.
      "cd /d " + BatchPath(WithoutTrailingBackslash(paths.setupTemp)),
      "set tries=0",
      ":Repeat",
      "del " + BatchPath(program),
      "if not exist " + BatchPath(paths.programPath) + " goto Removed",
      "set /a tries=tries+1",
      kPause,
      std::string("if %tries% lss ") + kTries + " goto Repeat",
      ":Removed",
      "del " + BatchPath(folder + "\\*.*") + " < " + answerFile,
      "rmdir " + BatchPath(folder),
  };
  // Its parents go too when that leaves them empty (setup may have made them), as they do
  // below it during the removal; rmdir leaves a folder that is not empty. A network path's
  // server and share are no folders to remove.
  for (std::string parent = FolderOfPath(folder); parent.find('\\') != std::string::npos && !parent.starts_with("\\\\");
       parent = FolderOfPath(parent))
    lines.push_back("rmdir " + BatchPath(parent));
  lines.insert(lines.end(), {"del " + answerFile, "del %0", "exit"});
  return JoinLines(lines);
}

bool PrepareSelfRemoval(FileSystem& files, const SelfRemovalPaths& paths) {
  CreateFolderChain(files, paths.setupTemp);
  files.WriteNewFile(paths.setupTemp + kAnswerFileName, "Y\r\n");
  return !files.WriteNewFile(paths.setupTemp + kBatchFileName, SelfRemovalBatch(paths));
}

}  // namespace pelorin
