#pragma once

#include "AnsiCodePage.h"

namespace pelorin {

// Windows code page 1252 (Western European), as Windows maps it: the five bytes it leaves
// undefined stand for the control characters of the same number, so every byte converts.
// The code page of POSIX builds, which have no system one to ask.
class CodePage1252 : public AnsiCodePage {
 public:
  bool FromUtf8(std::string_view utf8, String& bytes) const override;
  bool ToUtf8(std::string_view bytes, String& utf8) const override;
};

}  // namespace pelorin
