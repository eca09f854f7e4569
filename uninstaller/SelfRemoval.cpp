#include "SelfRemoval.h"

#include "Processes.h"
#include "TextLines.h"

namespace pelorin {

namespace {

constexpr std::string_view kOriginalRemovalSwitch = "/RemoveOriginal=";

// A decimal number and the comma after it; false when there is none.
bool ReadNumber(std::string_view& text, std::uint64_t& number) {
  const std::size_t end = text.find(',');
  if (end == 0 || end > 19 || end == std::string_view::npos) return false;
  number = 0;
  for (char c : text.substr(0, end)) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  text.remove_prefix(end + 1);
  return true;
}

// About a second between tries, about five minutes in all.
constexpr char kTries[] = "300";

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

// A file in the batch file's own folder; "%~dp0" ends in a backslash.
std::string InBatchFolder(const SelfRemovalPaths& paths, const std::string& name) {
  if (paths.batchFolder.empty()) return "\"%~dp0" + name + "\"";
  return BatchPath(paths.batchFolder + "\\" + name);
}

std::string BatchFolder(const SelfRemovalPaths& paths) {
  return paths.batchFolder.empty() ? "\"%~dp0.\"" : BatchPath(paths.batchFolder);
}

}  // namespace

std::string SelfRemovalBatch(const SelfRemovalPaths& paths) {
  const std::string program =
      paths.programPath.empty() ? InBatchFolder(paths, kUninstallerCopyName) : BatchPath(paths.programPath);
  std::vector<std::string> lines = {
      "@echo off",
      // The interpreter must not stand in a folder it is to remove.
      "cd /d " + BatchPath(paths.systemFolder),
      "set tries=0",
      ":Repeat",
      "del /f /q " + program,
      "if not exist " + program + " goto Removed",
      "set /a tries=tries+1",
      BatchPath(paths.systemFolder + "\\ping.exe") + " -n 2 127.0.0.1 >nul",
      std::string("if %tries% lss ") + kTries + " goto Repeat",
      ":Removed",
  };
  for (const std::string& folder : paths.folders)
    if (!folder.empty()) lines.push_back("rmdir " + BatchPath(folder));
  // One line, read whole before it runs, so the folder goes after the file that holds it.
  lines.push_back("del /f /q " + InBatchFolder(paths, kBatchFileName) + " & rmdir " + BatchFolder(paths) + " & exit");
  return JoinLines(lines);
}

std::string SelfRemovalCommand(const std::string& systemFolder, const std::string& batchFile) {
  return QuotedPath(systemFolder + "\\cmd.exe") + " /d /v:off /s /c \"" + QuotedPath(batchFile) + "\"";
}

std::string OriginalRemovalArguments(const OriginalRemoval& removal) {
  const auto number = [](std::uint64_t value) {
    std::string digits;
    do digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    while ((value /= 10) != 0);
    return digits + ",";
  };
  return std::string(kOriginalRemovalSwitch) + number(removal.process) + number(removal.file) +
         number(removal.levels) + removal.installFolder;
}

std::optional<OriginalRemoval> ParseOriginalRemoval(std::string_view arguments) {
  if (!arguments.starts_with(kOriginalRemovalSwitch)) return std::nullopt;
  arguments.remove_prefix(kOriginalRemovalSwitch.size());
  OriginalRemoval removal;
  std::uint64_t levels = 0;
  if (!ReadNumber(arguments, removal.process) || !ReadNumber(arguments, removal.file) ||
      !ReadNumber(arguments, levels) || levels > 64 || arguments.empty())
    return std::nullopt;
  removal.levels = static_cast<std::size_t>(levels);
  removal.installFolder = arguments;
  return removal;
}

}  // namespace pelorin
