#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace pelorin {

// How the game's engine reads a configuration file that it executes, following ioquake3's
// qcommon/cmd.c and cvar.c (Quake3e reads the same way but for commands past the line limit).

// The longest command line the engine executes (MAX_CMD_LINE - 1); the rest of a longer one
// is cut off.
inline constexpr std::size_t kMaxCommandLine = 1023;

// One command line: bytes [begin, end) of the file. `fullEnd` is where the command ended
// before the engine cut it to kMaxCommandLine bytes; it equals `end` for all others.
struct ConfigCommand {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t fullEnd = 0;

  bool Cut() const { return fullEnd != end; }
};

struct ConfigCommands {
  std::vector<ConfigCommand> commands;
  std::size_t executedLength = 0;  // the engine reads a file up to its first zero byte
  bool endsInComment = false;      // a "/*" comment is still open at the end
};

// The command lines of `text` in the order the engine executes them (Cbuf_Execute over the
// file's text followed by the line end that exec adds).
ConfigCommands SplitConfigCommands(std::string_view text);

// One argument of a command line: bytes [begin, end) of the line, quotation marks included.
struct CommandToken {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The arguments of one command line (Cmd_TokenizeString).
std::vector<CommandToken> TokenizeCommand(std::string_view line);

// A token's text without its quotation marks.
std::string_view TokenText(std::string_view line, const CommandToken& token);

// Where a command line sets the cvar "name": `set`, `seta`, `sets` or `setu` with "name"
// as first argument and a value (Cvar_Set_f), or "name" itself followed by a value
// (Cvar_Command); names in any letter case. The value is every argument after that, bytes
// [begin, end) of the line.
struct NameValue {
  bool found = false;
  std::size_t begin = 0;
  std::size_t end = 0;
};
NameValue FindNameValue(std::string_view line);

}  // namespace pelorin
