#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelorin {

// The decimal number at the start of `text`: an optional sign, digits and a decimal part.
// `length` receives how many characters it took (0 when there is no number). Written here
// rather than taken from the C library, whose conversions bring their formatting engine
// into every program.
double LeadingDecimal(std::string_view text, std::size_t& length);

// `text` as a whole decimal number, or nothing when anything else is in it.
std::optional<double> ParseDecimal(std::string_view text);

// `text` as a whole unsigned decimal number of digits only (at most 19), or nothing.
std::optional<std::uint64_t> ParseWholeNumber(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour.
long long RoundHalfEven(double value);

// A number as short decimal text: whole numbers without a point, others to six places.
std::string FormatDecimal(double value);

}  // namespace pelorin
