#pragma once

#include "AnsiCodePage.h"

namespace pelorin {

// The system's ANSI code page (CP_ACP), converted without best fit and checked both ways.
class Win32AnsiCodePage : public AnsiCodePage {
 public:
  bool FromUtf8(std::string_view utf8, String& bytes) const override;
  bool ToUtf8(std::string_view bytes, String& utf8) const override;
};

}  // namespace pelorin
