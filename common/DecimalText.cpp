#include "DecimalText.h"

#include <charconv>
#include <cmath>

namespace pelorin {

double LeadingDecimal(std::string_view text, std::size_t& length) {
  std::size_t i = 0;
  double sign = 1;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
  double value = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, digits = true) value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10, digits = true)
      value += (text[i] - '0') * scale;
  }
  // Past a double's range there is no number, as where there are no digits.
  const bool number = digits && std::isfinite(value);
  length = number ? i : 0;
  return number ? sign * value : 0;
}

std::optional<double> ParseDecimal(std::string_view text) {
  std::size_t length = 0;
  const double value = LeadingDecimal(text, length);
  if (length == 0 || length != text.size()) return std::nullopt;
  return value;
}

std::optional<std::uint64_t> ParseWholeNumber(std::string_view text) {
  std::uint64_t value = 0;
  if (text.empty() || text.size() > 19) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

long long RoundHalfEven(double value) {
  // The whole number at or below `value`: the conversion cuts toward zero.
  auto lower = static_cast<long long>(value);
  if (static_cast<double>(lower) > value) --lower;
  const double fraction = value - static_cast<double>(lower);
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return lower % 2 == 0 ? lower : lower + 1;
}

String WholeNumberText(std::uint32_t value) {
  char digits[10];
  std::size_t at = sizeof(digits);
  do {
    digits[--at] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return String(std::string_view(digits + at, sizeof(digits) - at));
}

String FormatDecimal(double value) {
  if (!std::isfinite(value)) return "0";
  String text = value < 0 ? "-" : "";
  value = std::fabs(value);
  double whole = std::floor(value);
  long long fraction = std::llround((value - whole) * 1000000);
  if (fraction == 1000000) {
    whole += 1;
    fraction = 0;
  }
  // Digit by digit, so a whole part beyond any integer type is written too.
  String integer;
  do {
    integer.insert(0, 1, static_cast<char>('0' + static_cast<int>(std::fmod(whole, 10))));
    whole = std::floor(whole / 10);
  } while (whole >= 1);
  text += integer;
  if (fraction == 0) return text;
  String digits = WholeNumberText(static_cast<std::uint32_t>(fraction));
  digits.insert(0, 6 - digits.size(), '0');
  while (digits.back() == '0') digits.pop_back();
  return text + "." + digits;
}

}  // namespace pelorin
