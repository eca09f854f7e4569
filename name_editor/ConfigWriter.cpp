#include "ConfigWriter.h"

#include "ConfigCommands.h"
#include "GameFolder.h"
#include "ItemNames.h"

namespace pelorin {

namespace {

constexpr char kQ3Config[] = "q3config.cfg";
constexpr char kAutoexec[] = "autoexec.cfg";
constexpr std::size_t kSetaNameLength = 10;  // "seta name "

// The line end the file uses first; CR LF for a file that has none.
std::string_view LineEndOf(std::string_view text) {
  const std::size_t at = text.find_first_of("\r\n");
  if (at == std::string_view::npos) return "\r\n";
  if (text[at] == '\n') return "\n";
  return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

// Whether the last command of `text` that sets the name is the whole line that starts at
// `lineStart`: one that an earlier command's end could not have swallowed in part.
bool LastNameCommandIsLine(std::string_view text, std::size_t lineStart) {
  ConfigCommand last;
  NameValue lastValue;
  for (const ConfigCommand& command : SplitConfigCommands(text).commands) {
    const NameValue value = FindNameValue(text.substr(command.begin, command.end - command.begin));
    if (value.found) {
      last = command;
      lastValue = value;
    }
  }
  return lastValue.found && !last.Cut() && last.begin == lineStart && lastValue.begin == kSetaNameLength;
}

// Whether `after` holds the commands of `before`, split alike, where every command that sets
// the name keeps the bytes around its value and has `name` as value.
bool OnlyNamesChanged(std::string_view before, std::string_view after, std::string_view name) {
  const std::vector<ConfigCommand> was = SplitConfigCommands(before).commands;
  const std::vector<ConfigCommand> is = SplitConfigCommands(after).commands;
  if (was.size() != is.size()) return false;
  for (std::size_t i = 0; i < was.size(); ++i) {
    const std::string_view old = before.substr(was[i].begin, was[i].end - was[i].begin);
    const std::string_view now = after.substr(is[i].begin, is[i].end - is[i].begin);
    if (was[i].Cut() != is[i].Cut()) return false;
    const NameValue oldValue = was[i].Cut() ? NameValue{} : FindNameValue(old);
    if (!oldValue.found) {
      if (old != now) return false;
      continue;
    }
    const NameValue newValue = FindNameValue(now);
    if (!newValue.found || now.substr(0, newValue.begin) != old.substr(0, oldValue.begin) ||
        now.substr(newValue.end) != old.substr(oldValue.end) ||
        now.substr(newValue.begin, newValue.end - newValue.begin) != "\"" + std::string(name) + "\"")
      return false;
  }
  return true;
}

}  // namespace

bool NameFitsConfigLine(std::string_view name) {
  return name.find_first_of(std::string_view("\r\n\"\0", 4)) == std::string_view::npos &&
         kSetaNameLength + name.size() + 2 < kMaxCommandLine;
}

NameEdit ReplaceSetaName(std::string_view text, std::string_view name) {
  NameEdit edit;
  std::size_t copied = 0;
  for (const ConfigCommand& command : SplitConfigCommands(text).commands) {
    const std::string_view line = text.substr(command.begin, command.end - command.begin);
    const NameValue value = FindNameValue(line);
    if (command.Cut()) {
      // Quake3e skips the blanks before a command and may not cut it where ioquake3 does.
      if (value.found || FindNameValue(text.substr(command.begin, command.fullEnd - command.begin)).found)
        return {NameEdit::Result::kRefused, {}};
      continue;
    }
    if (!value.found) continue;
    if (line.size() - (value.end - value.begin) + name.size() + 2 >= kMaxCommandLine)
      return {NameEdit::Result::kRefused, {}};
    edit.result = NameEdit::Result::kRewritten;
    edit.text.append(text.substr(copied, command.begin + value.begin - copied));
    edit.text.append(1, '"').append(name).append(1, '"');
    copied = command.begin + value.end;
  }
  if (edit.result != NameEdit::Result::kRewritten) return edit;
  edit.text.append(text.substr(copied));
  if (!OnlyNamesChanged(text, edit.text, name)) return {NameEdit::Result::kRefused, {}};
  return edit;
}

NameEdit AddSetaName(std::string_view text, std::string_view name) {
  const std::string line = "seta name \"" + std::string(name) + "\"";
  const std::string_view lineEnd = LineEndOf(text);
  const ConfigCommands split = SplitConfigCommands(text);
  const std::size_t executed = split.executedLength;
  const bool endsWithLineEnd = executed > 0 && (text[executed - 1] == '\n' || text[executed - 1] == '\r');

  std::string appended(text.substr(0, executed));
  if (executed > 0 && !endsWithLineEnd) appended.append(lineEnd);
  const std::size_t lineStart = appended.size();
  appended.append(line);
  if (executed == 0 || endsWithLineEnd) appended.append(lineEnd);
  appended.append(text.substr(executed));
  // A comment still open at the end would take in a last line, and the commands before it
  // would end elsewhere: then a first line runs before all else, and the rest of the file is
  // read exactly as before.
  if (split.endsInComment || !LastNameCommandIsLine(appended, lineStart))
    appended = line + std::string(lineEnd) + std::string(text);
  // The engine reads the result as one name command with this name and the rest as before.
  const NameEdit again = ReplaceSetaName(appended, name);
  if (again.result != NameEdit::Result::kRewritten || again.text != appended) return {NameEdit::Result::kRefused, {}};
  return {NameEdit::Result::kRewritten, std::move(appended)};
}

ModSaveResult SaveNameToMod(FileSystem& files, const std::string& modFolder, std::string_view name) {
  ModSaveResult result;
  const std::string folder = WithTrailingBackslash(modFolder);
  std::vector<std::string> configs;
  if (FileError error = ListConfigFiles(files, folder, configs)) {
    result.failures.push_back({modFolder, error});
    return result;
  }
  const auto refused = [&](const std::string& path) {
    result.failures.push_back({path, {FileError::Kind::kOther, 0,
                                      "the command there that sets the name is longer than the game reads or runs into a "
                                      "comment: change it by hand"}});
  };
  const auto write = [&](const std::string& config, const NameEdit& edit) {
    if (edit.result != NameEdit::Result::kRewritten) return refused(folder + config);
    if (FileError error = ReplaceFileContents(files, folder + config, edit.text))
      result.failures.push_back({folder + config, error});
    else
      result.saved.push_back(config);
  };

  // Whether a file that the engine executes at start sets the name, or may: one that cannot
  // be read counts, so that nothing is added beside a name line that stays.
  bool startSetsName = false;
  std::string q3config, q3configText;
  for (const std::string& config : configs) {
    const std::string path = folder + config;
    const bool atStart = SameFileName(config, kQ3Config) || SameFileName(config, kAutoexec);
    std::string text;
    if (FileError error = files.ReadFile(path, text)) {
      result.failures.push_back({path, error});
      startSetsName |= atStart;
      continue;
    }
    const NameEdit edit = ReplaceSetaName(text, name);
    startSetsName |= atStart && edit.result != NameEdit::Result::kNoNameCommand;
    switch (edit.result) {
      case NameEdit::Result::kNoNameCommand:
        if (SameFileName(config, kQ3Config)) {
          q3config = config;
          q3configText = std::move(text);
        }
        break;
      case NameEdit::Result::kRefused:
        refused(path);
        break;
      case NameEdit::Result::kRewritten:
        write(config, edit);
        break;
    }
  }
  if (startSetsName) return result;
  if (!q3config.empty()) {
    write(q3config, AddSetaName(q3configText, name));
  } else if (SameFileName(LastPathComponent(std::string_view(folder).substr(0, folder.size() - 1)), "baseq3") &&
             !files.FileExists(folder + kQ3Config)) {
    write(kQ3Config, AddSetaName("", name));
  }
  return result;
}

}  // namespace pelorin
