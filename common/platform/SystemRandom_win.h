#pragma once

#include <cstdint>

namespace pelorin {

// A number from the system's cryptographic generator; 0 when the generator fails, which
// makes a name the first comer may have taken, and such a name is never used.
std::uint64_t SystemRandomNumber();

}  // namespace pelorin
