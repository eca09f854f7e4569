#include "SystemRandom_win.h"

#include <windows.h>
#include <ntsecapi.h>

namespace pelorin {

std::uint64_t SystemRandomNumber() {
  std::uint64_t number = 0;
  RtlGenRandom(&number, sizeof(number));
  return number;
}

}  // namespace pelorin
