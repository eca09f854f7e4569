#include "CommandLine.h"

namespace pelorin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsSwitch(std::string_view token, std::string_view name) {
  if (token.size() != name.size()) return false;
  for (std::size_t i = 0; i < token.size(); ++i)
    if (Upper(token[i]) != name[i]) return false;
  return true;
}

String WithoutQuotes(std::string_view text) {
  String out;
  for (char c : text)
    if (c != '"') out += c;
  return out;
}

std::string_view TrimmedBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

CommandLine ParseCommandLine(std::string_view arguments, bool folderAllowed) {
  CommandLine line;
  std::string_view rest = TrimmedBlanks(arguments);
  while (!rest.empty()) {
    // A folder may hold blanks, so "/D=" takes the rest of the line; a quote may open it.
    const std::string_view unquoted = rest.front() == '"' ? rest.substr(1) : rest;
    if (folderAllowed && unquoted.size() >= 3 && IsSwitch(unquoted.substr(0, 3), "/D=")) {
      // A line that is already rejected gives no folder that a caller could take by mistake.
      if (!line.Valid()) return line;
      const String folder = WithoutQuotes(unquoted.substr(3));
      line.folder = String(TrimmedBlanks(folder));
      line.hasFolder = !line.folder.empty();
      if (!line.hasFolder) line.unknown = String(rest);
      return line;
    }
    std::size_t end = 0;
    bool quoted = false;
    while (end < rest.size() && (quoted || !IsBlank(rest[end]))) {
      if (rest[end] == '"') quoted = !quoted;
      ++end;
    }
    const String token = WithoutQuotes(rest.substr(0, end));
    if (IsSwitch(token, "/S")) {
      line.quiet = true;
    } else if (folderAllowed && (IsSwitch(token, "/ALLUSERS") || IsSwitch(token, "/CURRENTUSER"))) {
      const ScopeSwitch scope = token.size() == 9 ? ScopeSwitch::kAllUsers : ScopeSwitch::kCurrentUser;
      if (line.scope != ScopeSwitch::kNone && line.scope != scope && line.unknown.empty()) line.unknown = token;
      line.scope = scope;
    } else if (folderAllowed && IsSwitch(token, "/INSTALL")) {
      line.chosen = true;
    } else if (folderAllowed && IsSwitch(token, "/RUN")) {
      line.runAfter = true;
    } else if (token == "/?") {
      line.help = true;
    } else if (line.unknown.empty()) {
      line.unknown = token.empty() ? String(rest.substr(0, end)) : token;
    }
    rest = TrimmedBlanks(rest.substr(end));
  }
  return line;
}

String HandOverArguments(const CommandLine& line) {
  String arguments;
  if (line.quiet) arguments += "/S ";
  if (line.scope != ScopeSwitch::kNone) arguments += line.scope == ScopeSwitch::kAllUsers ? "/ALLUSERS " : "/CURRENTUSER ";
  if (line.chosen) arguments += "/INSTALL ";
  if (line.runAfter) arguments += "/RUN ";
  // Last, as the rest of the line: a folder holds no quote, so it cannot end the switch early.
  if (line.hasFolder) arguments += "/D=" + line.folder;
  while (!arguments.empty() && arguments.back() == ' ') arguments.pop_back();
  return arguments;
}

}  // namespace pelorin
