#pragma once

#include "Str.h"
#include <string_view>

namespace pelorin {

// The system's single-byte ("ANSI") code page, in which text files written before the
// programs took paths in any script, and by other programs, hold their text. Both ways are
// exact: a character the code page cannot hold, or a byte it does not define, has no
// conversion, never a neighbouring ("best fit") one.
class AnsiCodePage {
 protected:
  // Never deleted through this type, so no virtual destructor in every implementation.
  ~AnsiCodePage() = default;

 public:
  virtual bool FromUtf8(std::string_view utf8, String& bytes) const = 0;
  virtual bool ToUtf8(std::string_view bytes, String& utf8) const = 0;
};

}  // namespace pelorin
