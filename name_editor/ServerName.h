#pragma once

#include <string>
#include <string_view>

namespace pelorin {

// Game servers keep at most this many bytes of a name, colour codes included.
inline constexpr std::size_t kServerNameLimit = 35;
inline constexpr char kUnnamedPlayer[] = "UnnamedPlayer";

// A coded name as game servers show it, and which parts of their rule changed it.
struct ServerName {
  std::string name;
  bool cut = false;           // longer than the limit
  bool blackRemoved = false;  // a pair that selects black was dropped
  bool spaces = false;        // leading spaces dropped, or a run cut to three
  bool unnamed = false;       // nothing but colour codes was left

  bool Changed() const { return cut || blackRemoved || spaces || unnamed; }
};

// The servers' rule, in their order: leading spaces go; a run of spaces keeps three; a caret
// and a letter or digit form a colour pair, and a pair that selects black (the character's
// code minus that of '0' is a multiple of 8: 0, 8, H, P, X, h, p, x) goes whole; at most 35
// bytes stay; a name left empty or of colour pairs only becomes "UnnamedPlayer".
ServerName ServerNameOf(std::string_view coded);

// The name's length in bytes against the servers' limit, as "40/35".
std::string LengthAgainstLimit(std::string_view coded);

// One line per part of the rule that changed the name, each ended by CR LF.
std::string ServerNameReasons(const ServerName& server);

}  // namespace pelorin
