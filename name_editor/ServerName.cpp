#include "ServerName.h"

#include "DecimalText.h"

namespace pelorin {

namespace {

bool IsLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool SelectsBlack(char c) { return ((c - '0') & 7) == 0; }

}  // namespace

ServerName ServerNameOf(std::string_view coded) {
  ServerName server;
  std::size_t in = 0;
  while (in < coded.size() && coded[in] == ' ') ++in;
  server.spaces = in > 0;

  std::string& out = server.name;
  int spaces = 0;
  int visible = 0;  // characters that are not part of a colour pair
  for (; in < coded.size() && out.size() < kServerNameLimit; ++in) {
    const char c = coded[in];
    if (c == ' ') {
      if (spaces > 2) {
        server.spaces = true;
        continue;
      }
      ++spaces;
    } else if (!out.empty() && out.back() == '^' && IsLetterOrDigit(c)) {
      --visible;  // the caret before it was counted as visible
      if (SelectsBlack(c)) {
        out.pop_back();
        server.blackRemoved = true;
        continue;
      }
    } else {
      spaces = 0;
      ++visible;
    }
    out.push_back(c);
  }
  server.cut = in < coded.size();
  if (out.empty() || visible == 0) {
    out = kUnnamedPlayer;
    server.unnamed = true;
  }
  return server;
}

std::string LengthAgainstLimit(std::string_view coded) {
  return FormatDecimal(static_cast<double>(coded.size())) + "/" + FormatDecimal(kServerNameLimit);
}

std::string ServerNameReasons(const ServerName& server) {
  std::string reasons;
  if (server.cut) reasons += "It is longer than 35 characters, colour codes included: the rest is cut off.\r\n";
  if (server.blackRemoved) reasons += "Black is not allowed in names: its colour codes are removed.\r\n";
  if (server.spaces) reasons += "Leading spaces are dropped and more than three spaces in a row are cut to three.\r\n";
  if (server.unnamed) reasons += "Nothing but colour codes is left: the name becomes UnnamedPlayer.\r\n";
  return reasons;
}

}  // namespace pelorin
