#include "ConfigCommands.h"

#include <algorithm>
#include <array>

namespace pelorin {

namespace {

constexpr std::size_t kMaxTokens = 1024;  // MAX_STRING_TOKENS

// The engine's char is signed: bytes from 0x80 up count as blanks, as control characters do.
bool IsBlank(char c) { return static_cast<signed char>(c) <= ' '; }

// Q_stricmp: ASCII letters compare without case.
bool SameWord(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

ConfigCommands SplitConfigCommands(std::string_view text) {
  ConfigCommands result;
  result.executedLength = std::min(text.find('\0'), text.size());
  // The buffer holds the file's text and the line end that exec adds behind it.
  const std::size_t size = result.executedLength + 1;
  const auto at = [&](std::size_t i) { return i < result.executedLength ? text[i] : '\n'; };

  // Cbuf_Execute. Its comment flags live across commands: only a command cut at the line
  // limit can leave one set for the next.
  bool inStarComment = false;
  bool inSlashComment = false;
  std::size_t start = 0;
  while (start < size) {
    const std::size_t left = size - start;
    int quotes = 0;
    std::size_t i = 0;
    for (; i < left; ++i) {
      const char c = at(start + i);
      if (c == '"') ++quotes;
      if (!(quotes & 1)) {
        if (i < left - 1) {
          const char next = at(start + i + 1);
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
    const std::size_t clamp = result.executedLength;
    result.commands.push_back({start, std::min(start + length, clamp), std::min(start + i, clamp)});
    if (length == left) {
      result.endsInComment = inStarComment;
      break;
    }
    start += length + 1;  // the separator, or the byte after a cut, is dropped
  }
  return result;
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

NameValue FindNameValue(std::string_view line) {
  static constexpr std::array<std::string_view, 4> kSetCommands = {"set", "seta", "sets", "setu"};
  const std::vector<CommandToken> tokens = TokenizeCommand(line);
  if (tokens.empty()) return {};
  const std::string_view command = TokenText(line, tokens[0]);
  std::size_t first = 0;
  if (std::any_of(kSetCommands.begin(), kSetCommands.end(), [&](std::string_view set) { return SameWord(command, set); })) {
    if (tokens.size() < 3 || !SameWord(TokenText(line, tokens[1]), "name")) return {};
    first = 2;
  } else if (SameWord(command, "name") && tokens.size() >= 2) {
    first = 1;
  } else {
    return {};
  }
  return {true, tokens[first].begin, tokens.back().end};
}

}  // namespace pelorin
