#include "ButtonValues.h"

namespace pelorin {

namespace {

bool IsNumeric(const PropertyValue& v) {
  return std::holds_alternative<std::int16_t>(v) || std::holds_alternative<std::int32_t>(v) ||
         std::holds_alternative<bool>(v) || std::holds_alternative<float>(v);
}

double Numeric(const PropertyValue& v) {
  if (auto* i = std::get_if<std::int16_t>(&v)) return *i;
  if (auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (auto* f = std::get_if<float>(&v)) return *f;
  return std::get<bool>(v) ? 1 : 0;
}

}  // namespace

bool ValuesEqual(const PropertyValue& a, const PropertyValue& b) {
  if (IsNumeric(a) && IsNumeric(b)) {
    if (std::holds_alternative<bool>(a) || std::holds_alternative<bool>(b))
      return (Numeric(a) != 0) == (Numeric(b) != 0);
    return Numeric(a) == Numeric(b);
  }
  if (auto* x = std::get_if<String>(&a))
    if (auto* y = std::get_if<String>(&b)) return *x == *y;
  if (auto* x = std::get_if<FontRef>(&a))
    if (auto* y = std::get_if<FontRef>(&b)) return *x && *y ? **x == **y : *x == *y;
  if (auto* x = std::get_if<PictureRef>(&a))
    if (auto* y = std::get_if<PictureRef>(&b))
      return *x == *y || (*x && *y && !(*x)->Present() && !(*y)->Present());
  return false;
}

}  // namespace pelorin
