#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include "Str.h"
#include <string_view>

namespace pelorin {

// The decimal number at the start of `text`: an optional sign, digits and a decimal part.
// `length` receives how many characters it took (0 when there is no number, or one beyond a
// double's range). Written here
// rather than taken from the C library, whose conversions bring their formatting engine
// into every program.
double LeadingDecimal(std::string_view text, std::size_t& length);

// `text` as a whole decimal number, or nothing when anything else is in it.
std::optional<double> ParseDecimal(std::string_view text);

// `text` as a whole unsigned decimal number of digits only (at most 19), or nothing.
std::optional<std::uint64_t> ParseWholeNumber(std::string_view text);

// `value` rounded to the nearest whole number (halves to the even one) when that fits in
// `Integer`; nothing when it does not, or for a value that is no number. Converting a value
// out of range would be undefined, so untrusted numbers go through here.
template <class Integer>
std::optional<Integer> WholeInRange(double value) {
  static_assert(sizeof(Integer) <= 4, "every value of the type must be exact in a double");
  const double rounded = std::nearbyint(value);
  if (!(rounded >= static_cast<double>(std::numeric_limits<Integer>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<Integer>::max())))
    return std::nullopt;
  return static_cast<Integer>(rounded);
}

// `value` as a float when it lies within a float's range; nothing otherwise.
inline std::optional<float> FloatInRange(double value) {
  if (!(std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max()))) return std::nullopt;
  return static_cast<float>(value);
}

// Rounds to the nearest whole number, halves to the even neighbour.
long long RoundHalfEven(double value);

// `value` in decimal digits; the library's to_string would put its own copy of this code at
// every caller.
String WholeNumberText(std::uint32_t value);

// A number as short decimal text: whole numbers without a point, others to six places.
String FormatDecimal(double value);

}  // namespace pelorin
