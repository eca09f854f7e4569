#include "ConfigWriter.h"

#include "Concat.h"
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

NameEdit Refused() { return {NameEdit::Result::kRefused, {}}; }

bool EndsWith(const ConfigRun& run, std::string_view name) { return !run.runaway && run.Name() && *run.Name() == name; }

// Drops the lines without arguments, which change nothing (a plain loop: std::erase_if
// costs a search unrolled four times for each use).
void DropBlank(std::vector<ConfigCommand>& commands) {
  std::size_t kept = 0;
  for (ConfigCommand& command : commands) {
    if (command.blank) continue;
    if (&command != &commands[kept]) commands[kept] = std::move(command);
    ++kept;
  }
  commands.erase(commands.begin() + kept, commands.end());
}

// The commands of `text`, run from `run`, that do something.
std::vector<ConfigCommand> Effective(std::string_view text, ConfigRun& run) {
  std::vector<ConfigCommand> commands = RunConfig(text, run).commands;
  DropBlank(commands);
  return commands;
}

// Whether `after`, run from `before`, executes the commands `was` (Effective), where every
// name command of the file's own that the engine honours keeps the bytes around its value and
// has `name` as value; with `added`, one command more of the file's own, `seta name "<name>"`,
// runs before or after all others and the run ends with `name`.
bool RunsAsBefore(const std::vector<ConfigCommand>& was, std::string_view after, std::string_view name,
                  const ConfigRun& before, bool added) {
  ConfigRun run = before;
  const std::vector<ConfigCommand> is = Effective(after, run);
  if (run.runaway || is.size() != was.size() + added || (added && !EndsWith(run, name))) return false;
  const String line = Concat({"seta name \"", name, "\""});
  const std::string_view quoted = std::string_view(line).substr(10);
  const bool first = added && !is[0].inserted && is[0].line == line;
  for (std::size_t i = 0; i < is.size(); ++i) {
    const ConfigCommand& now = is[i];
    if (added && i == (first ? 0 : is.size() - 1)) {
      if (now.inserted || now.line != line) return false;
      continue;
    }
    const ConfigCommand& old = was[i - first];
    if (old.inserted != now.inserted || old.setsName != now.setsName || old.Cut() != now.Cut()) return false;
    if (old.inserted || !old.setsName || old.Cut()) {
      if (old.line != now.line) return false;
      continue;
    }
    const NameValue oldValue = FindNameValue(old.line);
    const NameValue newValue = FindNameValue(now.line);
    const std::string_view oldLine = old.line, newLine = now.line;
    if (newLine.substr(0, newValue.begin) != oldLine.substr(0, oldValue.begin) ||
        newLine.substr(newValue.end) != oldLine.substr(oldValue.end) ||
        newLine.substr(newValue.begin, newValue.end - newValue.begin) != quoted)
      return false;
  }
  return true;
}

// One of the two files the engine executes at start, q3config.cfg then autoexec.cfg, as the
// mod folder holds it.
struct StartFile {
  String config;  // the name listed; empty while the folder has no such file
  String text;    // as read
  String now;     // as it is to be written
  bool refused = false;
};

// Gives the file's name commands `name`, for the run `before`; false when that is refused.
bool Edit(StartFile& file, std::string_view name, const ConfigRun& before) {
  file.now = file.text;
  if (file.config.empty()) return true;
  NameEdit edit = ReplaceSetaName(file.text, name, before);
  file.refused = edit.result == NameEdit::Result::kRefused;
  if (edit.result == NameEdit::Result::kRewritten) file.now = std::move(edit.text);
  return !file.refused;
}

// Makes the run of both files end with `name`: the name commands the engine honours get it,
// and where that is not enough, q3config.cfg (made in baseq3 when missing), or else
// autoexec.cfg, gets a `seta name` line. False when nothing does it. A mod folder without a
// q3config.cfg of its own runs one that the engine finds elsewhere (baseq3's), which may have
// made the cvar: its autoexec.cfg is read as one the player runs in the game.
bool EndWithName(StartFile& q3config, StartFile& autoexec, bool mayMakeQ3config, std::string_view name) {
  const bool hasQ3config = !q3config.config.empty() || mayMakeQ3config;
  ConfigRun run;
  if (!hasQ3config) run.Set("name", "\n");  // a value no command gives: the cvar as found
  const bool q3configEdited = Edit(q3config, name, run);
  RunConfig(q3config.now, run);
  if (!Edit(autoexec, name, run) || !q3configEdited) return true;  // each refusal is reported
  ConfigRun end = run;
  RunConfig(autoexec.now, end);
  if (EndsWith(end, name) || (!hasQ3config && end.Name() && *end.Name() == "\n")) return true;
  if (hasQ3config) {
    // A bare `name` in autoexec.cfg counts once q3config.cfg made the cvar.
    String added = AddSetaName(q3config.now, name);
    ConfigRun tried;
    RunConfig(added, tried);
    StartFile autoexecTried = autoexec;
    if (!added.empty() && Edit(autoexecTried, name, tried)) {
      RunConfig(autoexecTried.now, tried);
      if (EndsWith(tried, name)) {
        if (q3config.config.empty()) q3config.config = kQ3Config;
        q3config.now = std::move(added);
        autoexec = std::move(autoexecTried);
        return true;
      }
    }
  }
  String added = autoexec.config.empty() ? String() : AddSetaName(autoexec.now, name, run);
  if (added.empty()) return false;
  autoexec.now = std::move(added);
  return true;
}

}  // namespace

bool NameFitsConfigLine(std::string_view name) {
  return name.find_first_of(std::string_view("\r\n\"\0", 4)) == std::string_view::npos &&
         kSetaNameLength + name.size() + 2 <= kMaxCommandLine;
}

NameEdit ReplaceSetaName(std::string_view text, std::string_view name, const ConfigRun& before) {
  NameEdit edit;
  ConfigRun run = before;
  std::vector<ConfigCommand> was = RunConfig(text, run).commands;
  if (run.runaway) return Refused();
  std::size_t copied = 0;
  for (const ConfigCommand& command : was) {
    if (command.inserted) continue;
    if (command.Cut()) {
      // Quake3e skips the blanks before a command and may not cut it where ioquake3 does.
      const NameValue whole = FindNameValue(text.substr(command.begin, command.fullEnd - command.begin));
      if (command.setsName || (whole.found && (!whole.bare || command.nameExisted))) return Refused();
      continue;
    }
    if (!command.setsName) continue;
    const NameValue value = FindNameValue(command.line);
    // A value that runs on into the line end exec adds stands in a comment the engine never closes.
    if (command.begin + value.end > command.end ||
        command.line.size() - (value.end - value.begin) + name.size() + 2 > kMaxCommandLine)
      return Refused();
    edit.result = NameEdit::Result::kRewritten;
    edit.text.append(text.substr(copied, command.begin + value.begin - copied));
    edit.text.append(1, '"').append(name).append(1, '"');
    copied = command.begin + value.end;
  }
  if (edit.result != NameEdit::Result::kRewritten) return edit;
  edit.text.append(text.substr(copied));
  DropBlank(was);
  if (!RunsAsBefore(was, edit.text, name, before, false)) return Refused();
  return edit;
}

String AddSetaName(std::string_view text, std::string_view name, const ConfigRun& before) {
  const String line = Concat({"seta name \"", name, "\""});
  const std::string_view lineEnd = LineEndOf(text);
  const std::size_t executed = std::min(text.find('\0'), text.size());
  const bool endsWithLineEnd = executed > 0 && (text[executed - 1] == '\n' || text[executed - 1] == '\r');

  String appended(text.substr(0, executed));
  if (executed > 0 && !endsWithLineEnd) appended.append(lineEnd);
  appended.append(line);
  if (executed == 0 || endsWithLineEnd) appended.append(lineEnd);
  appended.append(text.substr(executed));
  ConfigRun run = before;
  const std::vector<ConfigCommand> was = Effective(text, run);
  if (RunsAsBefore(was, appended, name, before, true)) return appended;
  // A comment still open at the end would take in a last line, and the commands before it
  // would end elsewhere: then a first line runs before all else, and the rest of the file is
  // read exactly as before.
  String first = Concat({line, lineEnd, text});
  if (RunsAsBefore(was, first, name, before, true)) return first;
  return {};
}

ModSaveResult SaveNameToMod(FileSystem& files, const String& modFolder, std::string_view name) {
  ModSaveResult result;
  const String folder = WithTrailingBackslash(modFolder);
  std::vector<String> configs;
  if (FileError error = ListConfigFiles(files, folder, configs)) {
    result.failures.push_back({modFolder, std::move(error)});
    return result;
  }
  const auto write = [&](const String& config, const String& text) {
    if (FileError error = ReplaceFileContents(files, folder + config, text))
      result.failures.push_back({folder + config, std::move(error)});
    else
      result.saved.push_back(String(config));  // moved in: the program keeps one way of adding strings
  };
  const auto refused = [&](const String& config) {
    result.failures.push_back({folder + config, {FileError::Kind::kOther, 0,
                                                 "the command there that sets the name is longer than the game reads, runs "
                                                 "into a comment or is run through vstr: change it by hand"}});
  };

  // Every other file runs when the player executes it in the game, where the name exists.
  ConfigRun inGame;
  inGame.Set("name", "");
  const auto saveAlone = [&](const String& config, const String& text) {
    const NameEdit edit = ReplaceSetaName(text, name, inGame);
    if (edit.result == NameEdit::Result::kRefused) refused(config);
    if (edit.result == NameEdit::Result::kRewritten) write(config, edit.text);
  };
  StartFile q3config, autoexec;
  bool startUnread = false;  // then nothing is added beside a name line that may stay
  for (const String& config : configs) {
    const String path = folder + config;
    StartFile* start = SameFileName(config, kQ3Config) ? &q3config : SameFileName(config, kAutoexec) ? &autoexec : nullptr;
    String text;
    if (FileError error = files.ReadFile(path, text)) {
      result.failures.push_back({path, std::move(error)});
      startUnread |= start != nullptr;
    } else if (start) {
      start->config = config;
      start->text = std::move(text);
    } else {
      saveAlone(config, text);
    }
  }
  if (startUnread) {
    for (const StartFile* start : {&q3config, &autoexec})
      if (!start->config.empty()) saveAlone(start->config, start->text);
    return result;
  }
  const bool mayMakeQ3config =
      SameFileName(LastPathComponent(std::string_view(folder).substr(0, folder.size() - 1)), "baseq3") &&
      !files.FileExists(folder + kQ3Config);
  if (!EndWithName(q3config, autoexec, mayMakeQ3config, name)) refused(autoexec.config.empty() ? q3config.config : autoexec.config);
  for (const StartFile* start : {&q3config, &autoexec}) {
    if (start->refused) refused(start->config);
    else if (start->now != start->text) write(start->config, start->now);
  }
  return result;
}

}  // namespace pelorin
