#pragma once

#include "Str.h"
#include <string_view>

namespace pelorin {

// Game servers keep at most this many bytes of a name, colour codes included.
inline constexpr std::size_t kServerNameLimit = 35;
// The game sends the name inside its userinfo string as "\name\" followed by the name, and
// that string holds at most 1023 bytes: no longer name is ever sent. The player's other
// settings share the string, so in practice somewhat shorter names miss out as well.
inline constexpr std::size_t kUserinfoNameLimit = 1017;
inline constexpr char kUnnamedPlayer[] = "UnnamedPlayer";

// A name as one game module's cleaning leaves it, and which of its steps changed it.
struct CleanedName {
  String name;
  std::size_t kept = 0;       // bytes kept, before an empty result became the stand-in
  bool cut = false;           // longer than the limit
  bool blackRemoved = false;  // a pair that selects black was dropped
  bool spaces = false;        // leading spaces dropped, or a run cut to three
  bool caretDropped = false;  // a caret at the very end was dropped
  bool unnamed = false;       // nothing but colour codes was left

  bool Changed() const { return cut || blackRemoved || spaces || caretDropped || unnamed; }
};

// A coded name as game servers show it. The engine handles the name first: the game refuses
// to send it, servers read some characters otherwise, or drop the player. What arrives is
// then cleaned by the game module the server runs: the original point release's (stock
// servers load it from the game's own paks) or ioquake3's game code; they differ in details.
struct ServerName {
  bool refused = false;   // holds ; \ or ": the game sends no name at all
  bool overlong = false;  // too long for the userinfo string: the game sends no name at all
  bool dotted = false;    // % and bytes above 127 arrive as dots
  bool dropped = false;   // control characters: ioquake3's servers drop the player
  CleanedName original;
  CleanedName ioquake3;
  // The bytes of the name that count against the servers' limit (what their cleaning keeps
  // before it cuts), the larger of the two modules' counts, and whether either cuts. For a
  // name that is not sent they tell what would happen if it were.
  std::size_t counted = 0;
  bool overLimit = false;

  bool Sent() const { return !refused && !overlong; }
  bool ModulesDiffer() const { return original.name != ioquake3.name; }
  bool Changed() const {
    return refused || overlong || dotted || dropped || original.Changed() || ioquake3.Changed();
  }
  // Worth a question before saving: servers show other characters than the name's. Dropping
  // black only changes a colour, which the tooltip tells.
  bool AskBeforeSaving() const {
    const auto beyondBlack = [](const CleanedName& c) { return c.cut || c.spaces || c.caretDropped || c.unnamed; };
    return refused || overlong || dotted || dropped || beyondBlack(original) || beyondBlack(ioquake3);
  }
};

// The engine's steps in its order, then both game modules' cleaning:
// - the game's userinfo (Info_SetValueForKey) refuses a value with ; \ or ", and one that
//   makes the string longer than it holds (MAX_INFO_STRING); the server then cleans an
//   empty name;
// - servers read the userinfo with % and every byte above 127 turned into "." (MSG_ReadString);
// - ioquake3's servers drop a client whose userinfo holds a byte outside 0x20 to 0x7E
//   (its stricter Info_Validate);
// - the game module's ClientCleanName, at most 35 bytes. ioquake3's: leading spaces go; a
//   run of spaces keeps three; a caret and a letter or digit form a colour pair, and a pair
//   that selects black (the character's code minus that of '0' is a multiple of 8) goes
//   whole; the limit may split a pair. The original's: a caret and any character form a pair;
//   a caret at the very end goes; spaces go until something was kept; a pair is never split.
//   A name left empty or of colour pairs only becomes "UnnamedPlayer".
ServerName ServerNameOf(std::string_view coded);

// The counted length against the servers' limit, as "40/35".
String LengthAgainstLimit(const ServerName& server);

// The name servers show, or, where the two game modules differ, both, each on a line and
// named: "original game: ..." and "ioquake3: ...".
String ServerNameResults(const ServerName& server);

// One line per step that changed the name, each ended by CR LF; a step of one game module
// only says which.
String ServerNameReasons(const ServerName& server);

// The preview's tooltip: what servers show and why, or nothing for a name they keep as is.
String ServerNameTip(const ServerName& server);

}  // namespace pelorin
