#include "ServerName.h"

#include <algorithm>
#include <limits>

#include "ColourPairs.h"
#include "Concat.h"
#include "DecimalText.h"

namespace pelorin {

namespace {

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

bool IsLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool SelectsBlack(char c) { return ColourIndex(c) == 0; }

void NameUnlessVisible(CleanedName& cleaned, int visible) {
  cleaned.kept = cleaned.name.size();
  if (!cleaned.name.empty() && visible > 0) return;
  cleaned.name = kUnnamedPlayer;
  cleaned.unnamed = true;
}

// ioquake3's ClientCleanName (code/game/g_client.c).
CleanedName CleanAsIoquake3(std::string_view in, std::size_t limit) {
  CleanedName cleaned;
  std::size_t at = 0;
  while (at < in.size() && in[at] == ' ') ++at;
  cleaned.spaces = at > 0;

  String& out = cleaned.name;
  int spaces = 0;
  int visible = 0;  // characters that are not part of a colour pair
  for (; at < in.size() && out.size() < limit; ++at) {
    const char c = in[at];
    if (c == ' ') {
      if (spaces > 2) {
        cleaned.spaces = true;
        continue;
      }
      ++spaces;
    } else if (!out.empty() && out.back() == '^' && IsLetterOrDigit(c)) {
      --visible;  // the caret before it was counted as visible
      if (SelectsBlack(c)) {
        out.pop_back();
        cleaned.blackRemoved = true;
        continue;
      }
    } else {
      spaces = 0;
      ++visible;
    }
    out.push_back(c);
  }
  cleaned.cut = at < in.size();
  NameUnlessVisible(cleaned, visible);
  return cleaned;
}

// The original point release's ClientCleanName (code/game/g_client.c of the 1.32 source).
CleanedName CleanAsOriginal(std::string_view in, std::size_t limit) {
  CleanedName cleaned;
  String& out = cleaned.name;
  int spaces = 0;
  int visible = 0;
  for (std::size_t at = 0; at < in.size(); ++at) {
    const char c = in[at];
    if (out.empty() && c == ' ') {
      cleaned.spaces = true;
      continue;
    }
    if (c == '^') {
      if (at + 1 == in.size()) {
        cleaned.caretDropped = true;
        break;
      }
      if (SelectsBlack(in[at + 1])) {
        cleaned.blackRemoved = true;
        ++at;
        continue;
      }
      if (out.size() + 2 > limit) {
        cleaned.cut = true;
        break;
      }
      out.push_back(c);
      out.push_back(in[++at]);
      continue;
    }
    // Unlike ioquake3's, a colour pair does not end a run of spaces here.
    if (c == ' ') {
      if (++spaces > 3) {
        cleaned.spaces = true;
        continue;
      }
    } else {
      spaces = 0;
    }
    if (out.size() + 1 > limit) {
      cleaned.cut = true;
      break;
    }
    out.push_back(c);
    ++visible;
  }
  NameUnlessVisible(cleaned, visible);
  return cleaned;
}

// What one module's cleaning did, and the line that tells it, marked with the one module that
// did it where only one did.
struct CleaningReason {
  bool CleanedName::* done;
  const char* text;
};
constexpr CleaningReason kCleaningReasons[] = {
    {&CleanedName::cut, "It is longer than 35 characters, colour codes included: the rest is cut off"},
    {&CleanedName::blackRemoved, "Black is not allowed in names: its colour codes are removed"},
    {&CleanedName::spaces, "Leading spaces are dropped and more than three spaces in a row are cut to three"},
    {&CleanedName::caretDropped, "A ^ at the very end is dropped"},
    {&CleanedName::unnamed, "Nothing but colour codes is left: the name becomes UnnamedPlayer"},
};

}  // namespace

ServerName ServerNameOf(std::string_view coded) {
  ServerName server;
  // Info_SetValueForKey: the blacklist first, then the room left in the string.
  server.refused = coded.find_first_of("\\;\"") != std::string_view::npos;
  server.overlong = !server.refused && coded.size() > kUserinfoNameLimit;

  // MSG_ReadString.
  String received(coded);
  bool dotted = false;
  for (char& c : received) {
    if (c == '%' || static_cast<unsigned char>(c) > 127) {
      c = '.';
      dotted = true;
    }
  }
  // Info_Validate, as ioquake3's servers check it: printable characters only.
  bool dropped = false;
  for (const char c : received) dropped |= c < 0x20 || c == 0x7F;

  server.counted = std::max(CleanAsOriginal(received, kNoLimit).kept, CleanAsIoquake3(received, kNoLimit).kept);
  const CleanedName original = CleanAsOriginal(received, kServerNameLimit);
  const CleanedName ioquake3 = CleanAsIoquake3(received, kServerNameLimit);
  server.overLimit = original.cut || ioquake3.cut;
  if (!server.Sent()) {
    // No name arrives; the server's cleaning of nothing gives the stand-in.
    server.original.name = server.ioquake3.name = kUnnamedPlayer;
    return server;
  }
  server.dotted = dotted;
  server.dropped = dropped;
  server.original = original;
  server.ioquake3 = ioquake3;
  return server;
}

String LengthAgainstLimit(const ServerName& server) {
  return Concat({WholeNumberText(static_cast<std::uint32_t>(server.counted)), "/", WholeNumberText(kServerNameLimit)});
}

String ServerNameResults(const ServerName& server) {
  if (!server.ModulesDiffer()) return server.ioquake3.name;
  return Concat({"original game: ", server.original.name, "\r\nioquake3: ", server.ioquake3.name});
}

String ServerNameReasons(const ServerName& server) {
  String reasons;
  if (server.refused) reasons += "Names with ; or \\ are not sent: servers show UnnamedPlayer\r\n";
  if (server.overlong)
    reasons += Concat({"Names longer than ", WholeNumberText(static_cast<std::uint32_t>(kUserinfoNameLimit)),
                       " characters do not fit the game's userinfo and are not sent: servers show UnnamedPlayer\r\n"});
  if (server.dotted) reasons += "Servers show % and characters beyond plain ASCII, such as accented letters, as dots\r\n";
  if (server.dropped) reasons += "Servers drop players whose names hold control characters\r\n";
  for (const CleaningReason& reason : kCleaningReasons) {
    const bool original = server.original.*reason.done, ioquake3 = server.ioquake3.*reason.done;
    if (!original && !ioquake3) continue;
    reasons += reason.text;
    if (!ioquake3) reasons += " (original game)";
    if (!original) reasons += " (ioquake3)";
    reasons += "\r\n";
  }
  return reasons;
}

String ServerNameTip(const ServerName& server) {
  if (!server.Changed()) return {};
  String tip = Concat({"Game servers will show:", server.ModulesDiffer() ? "\r\n" : " ", ServerNameResults(server),
                            "\r\n", ServerNameReasons(server)});
  tip.resize(tip.size() - 2);  // no line end after the last reason
  return tip;
}

}  // namespace pelorin
