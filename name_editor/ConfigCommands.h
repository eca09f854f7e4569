#pragma once

#include <cstddef>
#include "Str.h"
#include <string_view>
#include <vector>

namespace pelorin {

// How the game's engine reads a configuration file that it executes, following ioquake3's
// qcommon/cmd.c and cvar.c (Quake3e reads the same way but for commands past the line limit).

// The longest command line the engine executes (MAX_CMD_LINE - 1); the rest of a longer one
// is cut off.
inline constexpr std::size_t kMaxCommandLine = 1023;

// One argument of a command line: bytes [begin, end) of the line, quotation marks included.
struct CommandToken {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The arguments of one command line (Cmd_TokenizeString).
std::vector<CommandToken> TokenizeCommand(std::string_view line);

// A token's text without its quotation marks.
std::string_view TokenText(std::string_view line, const CommandToken& token);

// One command line as executed. For a line of the file's own bytes, [begin, end) is where it
// stands, and `fullEnd` where it ended before the engine cut it to kMaxCommandLine bytes (it
// equals `end` for all others). A line that starts in text a `vstr` inserted is `inserted`.
struct ConfigCommand {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t fullEnd = 0;
  bool inserted = false;
  bool blank = false;     // no arguments: changes nothing
  bool nameExisted = false;  // the cvar "name" existed before the command ran
  bool setsName = false;     // a name command (FindNameValue) that the engine honours there
  String line;

  bool Cut() const { return fullEnd != end; }
};

struct ConfigCommands {
  std::vector<ConfigCommand> commands;
  std::size_t executedLength = 0;  // the engine reads a file up to its first zero byte
  bool endsInComment = false;      // a "/*" comment is still open at the end
};

// The cvars that the configuration files executed so far have set (cvar.c), as far as they
// decide which name the game starts with. The client registers the cvar "name" only after
// its configuration files ran: until a set command creates it, a bare `name X` sets nothing.
class ConfigRun {
 public:
  const String* Value(std::string_view cvar) const;
  const String* Name() const { return Value("name"); }
  // Cvar_Set2 without force: creates the cvar, with `value` as its reset value, or sets it.
  void Set(std::string_view cvar, std::string_view value);
  // Cmd_ExecuteString's commands that change cvars, then Cvar_Command. A `vstr` returns the
  // text it inserts; empty otherwise.
  String Execute(std::string_view line);
  String Execute(std::string_view line, const std::vector<CommandToken>& tokens);

  bool runaway = false;  // a `vstr` loop that the engine would not finish

 private:
  struct Cvar {
    String name;
    String value;
    String reset;
  };
  Cvar* Find(std::string_view cvar);
  std::vector<Cvar> cvars_;
};

// The command lines of `text` in the order the engine executes them (Cbuf_Execute over the
// file's text followed by the line end that exec adds), each executed on `run`, with the text
// that `vstr` inserts (Cbuf_InsertText) executed where the engine executes it.
ConfigCommands RunConfig(std::string_view text, ConfigRun& run);

// Where a command line may set the cvar "name": `set`, `seta`, `sets` or `setu` with "name"
// as first argument and a value (Cvar_Set_f), or "name" itself followed by a value
// (Cvar_Command); names in any letter case. The value is every argument after that, bytes
// [begin, end) of the line.
struct NameValue {
  bool found = false;
  bool bare = false;  // `name X`, which sets only a cvar that exists
  std::size_t begin = 0;
  std::size_t end = 0;
};
NameValue FindNameValue(std::string_view line);
NameValue NameValueOf(std::string_view line, const std::vector<CommandToken>& tokens);

}  // namespace pelorin
