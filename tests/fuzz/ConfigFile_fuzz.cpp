// Feeds arbitrary configuration files and names to the name writer: the bytes up to the first
// zero byte are the name, the rest the file. The oracle runs the engine's own reading on the
// file before and after, ported here line for line from ioquake3 (Cmd_Exec_f, Cbuf_Execute,
// Cmd_TokenizeString, Cvar_Set_f, Cvar_Command), and aborts unless every command other than
// a name command is executed byte for byte as before, every name command sets the new name,
// and so the last one executed does; bytes the engine never reads stay as they were.
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

// Where a command line stood in the file, and how far it ran before the engine cut it.
struct Span {
  std::size_t begin = 0;
  std::size_t wholeEnd = 0;
};

// The command lines the engine executes for the file, each as it is handed on; `spans`, when
// given, receives where each stood.
std::vector<std::string> EngineLines(std::string_view file, std::vector<Span>* spans = nullptr) {
  std::string text(file.substr(0, file.find('\0')));
  text += '\n';
  std::vector<std::string> lines;
  std::size_t consumed = 0;
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
    if (spans) spans->push_back({consumed, consumed + i});
    if (i >= kMaxCmdLine - 1) i = kMaxCmdLine - 1;
    lines.push_back(text.substr(0, i));
    text.erase(0, i == size ? size : i + 1);
    consumed += i == size ? size : i + 1;
  }
  return lines;
}

std::vector<std::string> Arguments(const std::string& line) {
  std::vector<std::string> argv;
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
    std::string& out = argv.emplace_back();
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

// The value a command line gives the cvar "name", if it sets it.
std::optional<std::string> NameSet(const std::string& line) {
  const std::vector<std::string> argv = Arguments(line);
  std::size_t first = 0;
  const auto is = [](const std::string& word, const char* what) { return strcasecmp(word.c_str(), what) == 0; };
  if (argv.size() >= 3 && (is(argv[0], "set") || is(argv[0], "seta") || is(argv[0], "sets") || is(argv[0], "setu")) &&
      is(argv[1], "name")) {
    first = 2;
  } else if (argv.size() >= 2 && is(argv[0], "name")) {
    first = 1;
  } else {
    return std::nullopt;
  }
  std::string value;
  for (std::size_t i = first; i < argv.size(); ++i) value += (i == first ? "" : " ") + argv[i];
  return value;
}

std::string_view Unread(std::string_view file) {
  const std::size_t zero = file.find('\0');
  return zero == std::string_view::npos ? std::string_view() : file.substr(zero);
}

// The commands that do something: a line without arguments is passed over.
std::vector<std::string> Executed(std::string_view file) {
  std::vector<std::string> commands;
  for (std::string& line : EngineLines(file))
    if (!Arguments(line).empty()) commands.push_back(std::move(line));
  return commands;
}

// `after` executes `before`'s commands with every name command setting `name`, and `added`
// more commands that set `name`, all before or all after the rest.
void CheckSameButTheName(std::string_view before, std::string_view after, const std::string& name, std::size_t added) {
  const std::vector<std::string> was = Executed(before), is = Executed(after);
  if (is.size() != was.size() + added) std::abort();
  const auto alignsAt = [&](std::size_t offset) {
    for (std::size_t k = 0; k < is.size(); ++k) {
      const bool extra = k < offset || k >= offset + was.size();
      const std::string* old = extra ? nullptr : &was[k - offset];
      if (extra || NameSet(*old)) {
        if (NameSet(is[k]) != name) return false;
      } else if (is[k] != *old) {
        return false;
      }
    }
    return true;
  };
  if (!alignsAt(0) && !alignsAt(added)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find('\0');
  const std::string_view name = bytes.substr(0, split);
  const std::string_view file = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
  if (!pelorin::NameFitsConfigLine(name)) return 0;

  const pelorin::NameEdit edit = pelorin::ReplaceSetaName(file, name);
  bool setsName = false;
  for (const std::string& line : EngineLines(file)) setsName |= NameSet(line).has_value();
  switch (edit.result) {
    case pelorin::NameEdit::Result::kRewritten:
      if (!setsName || Unread(edit.text) != Unread(file)) std::abort();
      CheckSameButTheName(file, edit.text, std::string(name), 0);
      break;
    case pelorin::NameEdit::Result::kNoNameCommand: {
      if (setsName || !edit.text.empty()) std::abort();
      // The check of the added line never refuses what the engine reads as intended.
      const pelorin::NameEdit addition = pelorin::AddSetaName(file, name);
      if (addition.result != pelorin::NameEdit::Result::kRewritten) std::abort();
      const std::string& added = addition.text;
      if (Unread(added) != Unread(file)) std::abort();
      CheckSameButTheName(file, added, std::string(name), 1);
      break;
    }
    case pelorin::NameEdit::Result::kRefused: {
      // Only a file is refused that has a name command (read whole, as an engine that does
      // not cut it reads it) near the engine's limit, or running into a comment, or standing in
      // the cut-off rest of a longer command.
      std::vector<Span> spans;
      const std::vector<std::string> lines = EngineLines(file, &spans);
      const std::string_view executed = file.substr(0, file.find('\0'));
      bool entangled = false;
      std::size_t cutUntil = 0;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string whole(executed.substr(spans[i].begin, spans[i].wholeEnd - spans[i].begin));
        if (NameSet(lines[i]) || NameSet(whole))
          entangled |= whole.size() + name.size() + 2 >= static_cast<std::size_t>(kMaxCmdLine - 1) ||
                       whole.find("/*") != std::string::npos || spans[i].begin < cutUntil;
        cutUntil = std::max(cutUntil, spans[i].wholeEnd);
      }
      if (!entangled) std::abort();
      break;
    }
  }
  return 0;
}
