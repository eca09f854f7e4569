#pragma once

#include <cstddef>
#include <string_view>

namespace pelorin {

// How the game reads colour pairs where it draws a name (Q_IsColorString and ColorIndex of
// q_shared.h, as CG_DrawStringExt applies them): a caret followed by any character other than
// a caret or the end is a pair, and its colour is (c - '0') & 7, so "^8" is black and "^c"
// yellow. A caret before a caret is drawn, and the second caret is read again; so is a
// caret at the end.
inline bool IsColourPair(std::string_view text, std::size_t at) {
  return at + 1 < text.size() && text[at] == '^' && text[at + 1] != '^' && text[at + 1] != '\0';
}

// The palette index of the character after a caret.
inline int ColourIndex(char c) { return (static_cast<unsigned char>(c) - '0') & 7; }

}  // namespace pelorin
