#include "SelfRemoval.h"

#include <iterator>

#include "Concat.h"

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

// Appends `path`, or the file `name` in it, as the command interpreter must see it: quoted, so
// that blanks and characters such as "&" stay inside it, and with "%" doubled, which a batch
// file would expand (the names are the uninstaller's own, without one).
void AppendPath(String& batch, std::string_view path, std::string_view name = {}) {
  batch += '"';
  for (char c : path) {
    batch += c;
    if (c == '%') batch += '%';
  }
  if (!name.empty()) batch.append("\\").append(name);
  batch += '"';
}

// A file in the batch file's own folder; "%~dp0" ends in a backslash.
void AppendInBatchFolder(String& batch, const SelfRemovalPaths& paths, std::string_view name) {
  if (paths.batchFolder.empty()) batch.append("\"%~dp0").append(name).append("\"");
  else AppendPath(batch, paths.batchFolder, name);
}

void AppendProgram(String& batch, const SelfRemovalPaths& paths) {
  if (paths.programPath.empty()) AppendInBatchFolder(batch, paths, kUninstallerCopyName);
  else AppendPath(batch, paths.programPath);
}

// The batch file, with a control character where a path goes: \1 the system folder, \2 the
// program, \3 ping.exe, \4 an rmdir line per recorded folder, \5 the batch file, \6 its folder.
constexpr char kBatch[] =
    "@echo off\r\n"
    // The interpreter must not stand in a folder it is to remove.
    "cd /d \1\r\n"
    "set tries=0\r\n"
    ":Repeat\r\n"
    "del /f /q \2\r\n"
    "if not exist \2 goto Removed\r\n"
    "set /a tries=tries+1\r\n"
    // About a second between tries, about five minutes in all.
    "\3 -n 2 127.0.0.1 >nul\r\n"
    "if %tries% lss 300 goto Repeat\r\n"
    ":Removed\r\n"
    "\4"
    // One line, read whole before it runs, so the folder goes after the file that holds it.
    "del /f /q \5 & rmdir \6 & exit\r\n";

// Takes the last decimal digit off `value` by 32-bit divisions of its 16-bit parts: the
// library's 64-bit division is half a kilobyte on 32-bit.
char TakeLastDigit(std::uint64_t& value) {
  const std::uint32_t high = static_cast<std::uint32_t>(value >> 32), low = static_cast<std::uint32_t>(value);
  const std::uint32_t middle = high % 10 << 16 | low >> 16;
  const std::uint32_t bottom = middle % 10 << 16 | (low & 0xFFFF);
  value = static_cast<std::uint64_t>(high / 10) << 32 | (middle / 10) << 16 | bottom / 10;
  return static_cast<char>('0' + bottom % 10);
}

// The number and a comma after it.
void AppendNumber(String& text, std::uint64_t value) {
  char digits[21];
  char* first = std::end(digits);
  *--first = ',';
  do *--first = TakeLastDigit(value);
  while (value != 0);
  text.append(first, static_cast<std::size_t>(std::end(digits) - first));
}

}  // namespace

String SelfRemovalBatch(const SelfRemovalPaths& paths) {
  String batch;
  for (const char* c = kBatch; *c != '\0'; ++c) {
    if (*c == '\1') {
      AppendPath(batch, paths.systemFolder);
    } else if (*c == '\2') {
      AppendProgram(batch, paths);
    } else if (*c == '\3') {
      AppendPath(batch, paths.systemFolder, "ping.exe");
    } else if (*c == '\4') {
      for (const String& folder : paths.folders)
        if (!folder.empty()) {
          batch += "rmdir ";
          AppendPath(batch, folder);
          batch += "\r\n";
        }
    } else if (*c == '\5') {
      AppendInBatchFolder(batch, paths, kBatchFileName);
    } else if (*c == '\6') {
      if (paths.batchFolder.empty()) batch += "\"%~dp0.\"";
      else AppendPath(batch, paths.batchFolder);
    } else {
      batch += *c;
    }
  }
  return batch;
}

String SelfRemovalCommand(const String& systemFolder, const String& batchFile) {
  return Concat({"\"", systemFolder, "\\cmd.exe\" /d /v:off /s /c \"\"", batchFile, "\"\""});
}

String OriginalRemovalArguments(const OriginalRemoval& removal) {
  String arguments(kOriginalRemovalSwitch);
  AppendNumber(arguments, removal.process);
  AppendNumber(arguments, removal.file);
  AppendNumber(arguments, removal.levels);
  arguments.append(removal.installFolder);
  return arguments;
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
