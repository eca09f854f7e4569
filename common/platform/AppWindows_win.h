#pragma once

#include "AppWindows.h"

namespace pelorin {

class Win32AppWindows : public AppWindows {
 public:
  void Close(const std::string& title) override;
};

}  // namespace pelorin
