// Feeds arbitrary configuration files and names to the name writer: the bytes up to the first
// zero byte are the name, the rest the file. The oracle runs the engine's own reading on the
// file before and after, ported here line for line from ioquake3 (Cmd_Exec_f, Cbuf_Execute,
// Cbuf_InsertText, Cmd_Vstr_f, Cmd_TokenizeString, Cvar_Set_f, Cvar_Toggle_f, Cvar_Reset_f,
// Cvar_Unset_f, Cvar_Restart_f, Cvar_Command, with the cvars the file sets), once as the game
// runs it at start, before the cvar "name" exists, and once with it. It aborts unless every
// command other than a name command the engine honours is executed byte for byte as before,
// a vstr's text included, every such name command of the file's own sets the new name, and
// an added line sets it last; bytes the engine never reads stay as they were.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <strings.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ConfigWriter.h"

namespace {

constexpr int kMaxCmdLine = 1024;

// The cvars the run has set (Cvar_Set2, Cvar_FindVar without case).
struct Cvar {
  pelorin::String name, value, reset;
};
using Cvars = std::vector<Cvar>;

Cvar* Find(Cvars& cvars, const pelorin::String& name) {
  for (Cvar& cvar : cvars)
    if (strcasecmp(cvar.name.c_str(), name.c_str()) == 0) return &cvar;
  return nullptr;
}

void Set(Cvars& cvars, const pelorin::String& name, const pelorin::String& value) {
  if (Cvar* cvar = Find(cvars, name))
    cvar->value = value;
  else
    cvars.push_back({name, value, value});
}

std::vector<pelorin::String> Arguments(const pelorin::String& line);

pelorin::String ArgsFrom(const std::vector<pelorin::String>& argv, std::size_t first) {
  pelorin::String args;
  for (std::size_t i = first; i < argv.size(); ++i) args += (i == first ? "" : " ") + argv[i];
  return args;
}

// The value a command line gives the cvar "name", if the engine sets it there.
std::optional<pelorin::String> NameSet(const std::vector<pelorin::String>& argv, bool nameExists) {
  const auto is = [](const pelorin::String& word, const char* what) { return strcasecmp(word.c_str(), what) == 0; };
  if (argv.size() >= 3 && (is(argv[0], "set") || is(argv[0], "seta") || is(argv[0], "sets") || is(argv[0], "setu")) &&
      is(argv[1], "name"))
    return ArgsFrom(argv, 2);
  if (argv.size() >= 2 && is(argv[0], "name") && nameExists) return ArgsFrom(argv, 1);
  return std::nullopt;
}

// Cmd_ExecuteString for the commands that change cvars; returns what a vstr inserts.
std::optional<pelorin::String> ExecuteString(const std::vector<pelorin::String>& argv, Cvars& cvars) {
  const std::size_t c = argv.size();
  if (c == 0) return std::nullopt;
  const auto is = [&](const char* what) { return strcasecmp(argv[0].c_str(), what) == 0; };
  if (is("set") || is("seta") || is("sets") || is("setu")) {
    if (c >= 3) Set(cvars, argv[1], ArgsFrom(argv, 2));
  } else if (is("toggle")) {
    if (c == 2) {
      const Cvar* cvar = Find(cvars, argv[1]);
      Set(cvars, argv[1], std::to_string(!(cvar ? std::atof(cvar->value.c_str()) : 0)));
    } else if (c > 3) {
      const Cvar* cvar = Find(cvars, argv[1]);
      const pelorin::String current = cvar ? cvar->value : "";
      for (std::size_t i = 2; i + 1 < c; i++) {
        if (current == argv[i]) {
          Set(cvars, argv[1], argv[i + 1]);
          return std::nullopt;
        }
      }
      Set(cvars, argv[1], argv[2]);
    }
  } else if (is("reset")) {
    if (Cvar* cvar = c == 2 ? Find(cvars, argv[1]) : nullptr) cvar->value = cvar->reset;
  } else if (is("unset")) {
    if (Cvar* cvar = c == 2 ? Find(cvars, argv[1]) : nullptr) cvars.erase(cvars.begin() + (cvar - cvars.data()));
  } else if (is("cvar_restart")) {
    cvars.clear();
  } else if (is("vstr")) {
    if (c != 2) return std::nullopt;
    const Cvar* cvar = Find(cvars, argv[1]);
    return (cvar ? cvar->value : "") + "\n";
  } else if (Cvar* cvar = Find(cvars, argv[0]); cvar && c > 1) {
    cvar->value = ArgsFrom(argv, 1);
  }
  return std::nullopt;
}

// One command line as handed on: whether it began in the file's own bytes, and where it
// stood there and how far it ran before the engine cut it.
struct Line {
  pelorin::String text;
  bool fromFile = true;
  std::size_t begin = 0;
  std::size_t wholeEnd = 0;
  bool nameExisted = false;  // before the line ran
  bool hasArguments = false;
  std::optional<pelorin::String> name;  // the value it gives the cvar "name"
};

struct Run {
  std::vector<Line> lines;
  bool inserted = false;     // a vstr inserted text
  bool endsInComment = false;
  bool runaway = false;
};

// Cmd_Exec_f and Cbuf_Execute with Cbuf_InsertText for vstr, executing every line on `cvars`.
Run EngineRun(std::string_view file, Cvars& cvars) {
  Run run;
  pelorin::String text(file.substr(0, file.find('\0')));
  text += '\n';
  std::size_t insertedLeft = 0, consumed = 0;
  int insertions = 0;
  bool inStarComment = false, inSlashComment = false;
  while (!text.empty()) {
    const int size = static_cast<int>(text.size());
    int quotes = 0, i = 0;
    for (i = 0; i < size; i++) {
      if (text[i] == '"') quotes++;
      if (!(quotes & 1)) {
        if (i < size - 1) {
          if (!inStarComment && text[i] == '/' && text[i + 1] == '/') {
            inSlashComment = true;
          } else if (!inSlashComment && text[i] == '/' && text[i + 1] == '*') {
            inStarComment = true;
          } else if (inStarComment && text[i] == '*' && text[i + 1] == '/') {
            inStarComment = false;
            i++;
            break;
          }
        }
        if (!inSlashComment && !inStarComment && text[i] == ';') break;
      }
      if (!inStarComment && (text[i] == '\n' || text[i] == '\r')) {
        inSlashComment = false;
        break;
      }
    }
    Line line;
    line.fromFile = insertedLeft == 0;
    line.begin = consumed;
    line.wholeEnd = consumed + i;
    if (i >= kMaxCmdLine - 1) i = kMaxCmdLine - 1;
    line.text = text.substr(0, i);
    const std::size_t taken = i == size ? size : i + 1;
    text.erase(0, taken);
    const std::size_t fromInserted = std::min(taken, insertedLeft);
    insertedLeft -= fromInserted;
    consumed += taken - fromInserted;
    if (text.empty()) run.endsInComment = inStarComment;
    const std::vector<pelorin::String> argv = Arguments(line.text);
    line.nameExisted = Find(cvars, "name") != nullptr;
    line.hasArguments = !argv.empty();
    line.name = NameSet(argv, line.nameExisted);
    const std::optional<pelorin::String> insert = ExecuteString(argv, cvars);
    run.lines.push_back(std::move(line));
    if (!insert) continue;
    run.inserted = true;
    if (++insertions > 1024) {
      run.runaway = true;
      break;
    }
    const std::size_t length = insert->size() + 1;
    if (length + text.size() > 128 * 1024) continue;
    text.insert(0, *insert + '\n');
    insertedLeft += length;
  }
  return run;
}

std::vector<pelorin::String> Arguments(const pelorin::String& line) {
  std::vector<pelorin::String> argv;
  const char* text = line.c_str();
  while (argv.size() < 1024) {
    for (;;) {
      while (*text && *text <= ' ') text++;
      if (!*text) return argv;
      if (text[0] == '/' && text[1] == '/') return argv;
      if (text[0] == '/' && text[1] == '*') {
        while (*text && (text[0] != '*' || text[1] != '/')) text++;
        if (!*text) return argv;
        text += 2;
      } else {
        break;
      }
    }
    pelorin::String& out = argv.emplace_back();
    if (*text == '"') {
      text++;
      while (*text && *text != '"') out += *text++;
      if (!*text) return argv;
      text++;
      continue;
    }
    while (*text > ' ') {
      if (text[0] == '"') break;
      if (text[0] == '/' && (text[1] == '/' || text[1] == '*')) break;
      out += *text++;
    }
    if (!*text) return argv;
  }
  return argv;
}

std::string_view Unread(std::string_view file) {
  const std::size_t zero = file.find('\0');
  return zero == std::string_view::npos ? std::string_view() : file.substr(zero);
}

// One executed command that does something (a line without arguments is passed over), and
// the name it sets where the engine sets it.
struct Executed {
  pelorin::String line;
  bool fromFile;
  std::optional<pelorin::String> name;
};

std::vector<Executed> Execute(const Run& run) {
  std::vector<Executed> commands;
  for (const Line& line : run.lines)
    if (line.hasArguments) commands.push_back({line.text, line.fromFile, line.name});
  return commands;
}

// `after` executes `before`'s commands with every name command of the file's own that the
// engine honours setting `name`, and `added` more commands that set `name`, all before or all
// after the rest; with one added, the run ends with `name`.
void CheckSameButTheName(const Run& before, std::string_view after, const pelorin::String& name, std::size_t added,
                         const Cvars& start) {
  Cvars cvars = start;
  const Run run = EngineRun(after, cvars);
  const Cvar* finalName = Find(cvars, "name");
  const std::vector<Executed> was = Execute(before), is = Execute(run);
  if (run.runaway || is.size() != was.size() + added) std::abort();
  if (added && (!finalName || finalName->value != name)) std::abort();
  const auto alignsAt = [&](std::size_t offset) {
    for (std::size_t k = 0; k < is.size(); ++k) {
      const bool extra = k < offset || k >= offset + was.size();
      const Executed* old = extra ? nullptr : &was[k - offset];
      if (extra || (old->fromFile && old->name)) {
        if (!is[k].fromFile || is[k].name != name) return false;
      } else if (is[k].line != old->line || is[k].fromFile != old->fromFile || is[k].name != old->name) {
        return false;
      }
    }
    return true;
  };
  if (!alignsAt(0) && !alignsAt(added)) std::abort();
}

void CheckFile(std::string_view file, std::string_view name, const Cvars& start, const pelorin::ConfigRun& before) {
  Cvars cvars = start;
  const Run run = EngineRun(file, cvars);
  bool setsName = false;
  for (const Line& line : run.lines) setsName |= line.fromFile && line.name.has_value();
  const pelorin::NameEdit edit = pelorin::ReplaceSetaName(file, name, before);
  switch (edit.result) {
    case pelorin::NameEdit::Result::kRewritten:
      if (run.runaway || !setsName || Unread(edit.text) != Unread(file)) std::abort();
      CheckSameButTheName(run, edit.text, pelorin::String(name), 0, start);
      break;
    case pelorin::NameEdit::Result::kNoNameCommand: {
      if (run.runaway || setsName || !edit.text.empty()) std::abort();
      const pelorin::String added = pelorin::AddSetaName(file, name, before);
      if (added.empty()) {
        // Only where a comment open at the end would swallow a last line, or inserted text runs.
        if (!run.endsInComment && !run.inserted) std::abort();
        break;
      }
      if (Unread(added) != Unread(file)) std::abort();
      CheckSameButTheName(run, added, pelorin::String(name), 1, start);
      break;
    }
    case pelorin::NameEdit::Result::kRefused: {
      // Only a file is refused that has a name command (read whole, as an engine that does
      // not cut it reads it) near the engine's limit, or running into a comment, or standing in
      // the cut-off rest of a longer command; or where a vstr inserts text.
      const std::string_view executed = file.substr(0, file.find('\0'));
      bool entangled = run.inserted;
      std::size_t cutUntil = 0;
      for (const Line& line : run.lines) {
        if (!line.fromFile) continue;
        const pelorin::String whole(executed.substr(line.begin, std::min(line.wholeEnd, executed.size()) - line.begin));
        if (line.name || NameSet(Arguments(whole), line.nameExisted))
          entangled |= whole.size() + name.size() + 2 > static_cast<std::size_t>(kMaxCmdLine - 1) ||
                       whole.find("/*") != pelorin::String::npos || line.begin < cutUntil;
        cutUntil = std::max(cutUntil, line.wholeEnd);
      }
      if (!entangled) std::abort();
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find('\0');
  const std::string_view name = bytes.substr(0, split);
  const std::string_view file = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
  if (!pelorin::NameFitsConfigLine(name)) return 0;

  // Both ways a file runs: at start, where the cvar "name" does not exist yet, and when the
  // player executes it in the game.
  for (const bool nameExists : {false, true}) {
    Cvars start;
    pelorin::ConfigRun before;
    if (nameExists) {
      start.push_back({"name", "", ""});
      before.Set("name", "");
    }
    CheckFile(file, name, start, before);
  }
  return 0;
}
