#include "ConfigCommands.h"

#include <algorithm>

#include "Concat.h"

namespace pelorin {

namespace {

constexpr std::size_t kMaxTokens = 1024;  // MAX_STRING_TOKENS
constexpr std::size_t kMaxCommandBuffer = 128 * 1024;  // MAX_CMD_BUFFER
// A vstr that inserts itself runs for ever in the engine; a run stops judging after this many.
constexpr int kMaxInsertions = 1024;

// The engine's char is signed: bytes from 0x80 up count as blanks, as control characters do.
bool IsBlank(char c) { return static_cast<signed char>(c) <= ' '; }

// Q_stricmp: ASCII letters compare without case.
bool SameWord(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

// set, seta, sets or setu.
bool IsSetCommand(std::string_view command) {
  return SameWord(command.substr(0, 3), "set") &&
         (command.size() == 3 || (command.size() == 4 && std::string_view("aAsSuU").find(command[3]) != std::string_view::npos));
}

// atof(text) != 0 for the texts a cvar holds: a number whose digits before its exponent are
// not all zero (decimal or after "0x"), or "inf" or "nan".
bool NumberIsNonZero(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::string_view rest = text.substr(i);
  if (SameWord(rest.substr(0, 3), "inf") || SameWord(rest.substr(0, 3), "nan")) return true;
  const bool hex = rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X');
  bool point = false;
  for (std::size_t at = hex ? 2 : 0; at < rest.size(); ++at) {
    const char c = rest[at];
    const bool hexLetter = hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
    if ((c >= '1' && c <= '9') || hexLetter) return true;
    if (c == '.' && !point) {
      point = true;
    } else if (c != '0') {
      break;
    }
  }
  return false;
}

}  // namespace

ConfigCommands RunConfig(std::string_view text, ConfigRun& run) {
  ConfigCommands result;
  const std::size_t clamp = result.executedLength = std::min(text.find('\0'), text.size());
  // The command buffer: the file's text and the line end that exec adds. Text that a vstr
  // inserts goes in at the cursor, so the file's bytes after it keep their place less what was
  // inserted so far.
  String buffer(text.substr(0, clamp));
  buffer += '\n';
  std::size_t at = 0;
  std::size_t insertedLeft = 0;
  std::size_t insertedAll = 0;

  // Cbuf_Execute. Its comment flags live across commands: a command cut at the line limit
  // can leave one set for the next, and so can inserted text.
  bool inStarComment = false;
  bool inSlashComment = false;
  int insertionsLeft = kMaxInsertions;
  while (at < buffer.size()) {
    const char* const data = buffer.data() + at;
    const std::size_t left = buffer.size() - at;
    int quotes = 0;
    std::size_t i = 0;
    for (; i < left; ++i) {
      const char c = data[i];
      if (c == '"') ++quotes;
      if (!(quotes & 1)) {
        if (i < left - 1) {
          const char next = data[i + 1];
          if (!inStarComment && c == '/' && next == '/') {
            inSlashComment = true;
          } else if (!inSlashComment && c == '/' && next == '*') {
            inStarComment = true;
          } else if (inStarComment && c == '*' && next == '/') {
            inStarComment = false;
            ++i;  // the command ends before the "/", which is dropped
            break;
          }
        }
        if (!inSlashComment && !inStarComment && c == ';') break;
      }
      if (!inStarComment && (c == '\n' || c == '\r')) {
        inSlashComment = false;
        break;
      }
    }
    const std::size_t length = std::min(i, kMaxCommandLine);
    ConfigCommand& command = result.commands.emplace_back();
    command.inserted = insertedLeft > 0;
    if (!command.inserted) {
      command.begin = at - insertedAll;
      command.end = std::min(command.begin + length, clamp);
      command.fullEnd = std::min(command.begin + i, clamp);
    }
    command.line.assign(data, length);
    // The separator, or the byte after a cut, is dropped.
    const std::size_t consumed = length == left ? left : length + 1;
    insertedLeft -= std::min(consumed, insertedLeft);
    at += consumed;
    if (length == left) result.endsInComment = inStarComment;

    const std::vector<CommandToken> tokens = TokenizeCommand(command.line);
    command.blank = tokens.empty();
    const NameValue value = NameValueOf(command.line, tokens);
    command.nameExisted = run.Name() != nullptr;
    command.setsName = value.found && (!value.bare || command.nameExisted);
    const String insert = run.Execute(command.line, tokens);
    if (insert.empty()) continue;
    if (insertionsLeft-- == 0) {
      run.runaway = true;
      break;
    }
    // Cbuf_InsertText: text that does not fit the buffer is dropped.
    if (insert.size() + buffer.size() - at > kMaxCommandBuffer) continue;
    buffer.insert(at, insert);
    insertedLeft += insert.size();
    insertedAll += insert.size();
  }
  return result;
}

ConfigRun::Cvar* ConfigRun::Find(std::string_view cvar) {
  for (Cvar& known : cvars_)
    if (SameWord(known.name, cvar)) return &known;
  return nullptr;
}

const String* ConfigRun::Value(std::string_view cvar) const {
  for (const Cvar& known : cvars_)
    if (SameWord(known.name, cvar)) return &known.value;
  return nullptr;
}

void ConfigRun::Set(std::string_view cvar, std::string_view value) {
  if (Cvar* known = Find(cvar))
    known->value = value;
  else
    cvars_.push_back({String(cvar), String(value), String(value)});
}

String ConfigRun::Execute(std::string_view line) { return Execute(line, TokenizeCommand(line)); }

String ConfigRun::Execute(std::string_view line, const std::vector<CommandToken>& tokens) {
  const std::size_t count = tokens.size();
  if (count == 0) return {};
  const auto arg = [&](std::size_t i) { return TokenText(line, tokens[i]); };
  // Cmd_ArgsFrom: the arguments from `first` on, joined by single spaces.
  const auto argsFrom = [&](std::size_t first) {
    String joined;
    for (std::size_t i = first; i < count; ++i) joined.append(i > first ? " " : "").append(arg(i));
    return joined;
  };
  const std::string_view command = arg(0);
  if (IsSetCommand(command)) {  // Cvar_Set_f
    if (count >= 3) Set(arg(1), argsFrom(2));
  } else if (SameWord(command, "toggle")) {  // Cvar_Toggle_f
    const String* current = count >= 2 ? Value(arg(1)) : nullptr;
    if (count == 2) {
      Set(arg(1), current && NumberIsNonZero(*current) ? "0" : "1");
    } else if (count >= 4) {
      std::size_t next = 2;
      for (std::size_t i = 2; i + 1 < count; ++i) {
        if (current && *current == arg(i)) {
          next = i + 1;
          break;
        }
      }
      Set(arg(1), arg(next));
    }
  } else if (SameWord(command, "reset")) {  // Cvar_Reset_f: the value the cvar was made with
    if (Cvar* known = count == 2 ? Find(arg(1)) : nullptr) known->value = known->reset;
  } else if (SameWord(command, "unset")) {  // Cvar_Unset_f: every cvar here is user-made
    if (Cvar* known = count == 2 ? Find(arg(1)) : nullptr) {
      *known = std::move(cvars_.back());
      cvars_.pop_back();
    }
  } else if (SameWord(command, "cvar_restart")) {
    cvars_.clear();
  } else if (SameWord(command, "vstr")) {  // Cmd_Vstr_f inserts the value and two line ends
    if (count != 2) return {};
    const String* value = Value(arg(1));
    return Concat({value ? std::string_view(*value) : std::string_view(), "\n\n"});
  } else if (Cvar* known = Find(command); known && count >= 2) {  // Cvar_Command
    known->value = argsFrom(1);
  }
  return {};
}

std::vector<CommandToken> TokenizeCommand(std::string_view line) {
  std::vector<CommandToken> tokens;
  const std::size_t n = line.size();
  const auto at = [&](std::size_t i) { return i < n ? line[i] : '\0'; };
  std::size_t i = 0;
  while (tokens.size() < kMaxTokens) {
    for (;;) {
      while (i < n && IsBlank(line[i])) ++i;
      if (i >= n || (at(i) == '/' && at(i + 1) == '/')) return tokens;
      if (at(i) != '/' || at(i + 1) != '*') break;
      while (i < n && (at(i) != '*' || at(i + 1) != '/')) ++i;
      if (i >= n) return tokens;
      i += 2;
    }
    const std::size_t begin = i;
    if (line[i] == '"') {
      // A quoted argument runs to the next quotation mark, or to the end of the line.
      i = std::min(line.find('"', i + 1), n);
      if (i < n) ++i;
      tokens.push_back({begin, i});
      continue;
    }
    while (i < n && !IsBlank(line[i]) && line[i] != '"' &&
           !(line[i] == '/' && (at(i + 1) == '/' || at(i + 1) == '*')))
      ++i;
    tokens.push_back({begin, i});
  }
  return tokens;
}

std::string_view TokenText(std::string_view line, const CommandToken& token) {
  std::string_view text = line.substr(token.begin, token.end - token.begin);
  if (text.empty() || text.front() != '"') return text;
  text.remove_prefix(1);
  if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  return text;
}

NameValue FindNameValue(std::string_view line) { return NameValueOf(line, TokenizeCommand(line)); }

NameValue NameValueOf(std::string_view line, const std::vector<CommandToken>& tokens) {
  if (tokens.empty()) return {};
  const std::string_view command = TokenText(line, tokens[0]);
  std::size_t first = 0;
  if (IsSetCommand(command)) {
    if (tokens.size() < 3 || !SameWord(TokenText(line, tokens[1]), "name")) return {};
    first = 2;
  } else if (SameWord(command, "name") && tokens.size() >= 2) {
    first = 1;
  } else {
    return {};
  }
  return {true, first == 1, tokens[first].begin, tokens.back().end};
}

}  // namespace pelorin
