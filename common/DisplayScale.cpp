#include "DisplayScale.h"

namespace pelorin {

int PixelScaleOfDpi(int dpi) {
  const int scale = (dpi + kBaseDpi / 2) / kBaseDpi;
  return scale < 1 ? 1 : scale;
}

int PixelScaleWithinDpi(int dpi) { return dpi < 2 * kBaseDpi ? 1 : dpi / kBaseDpi; }

int ScaleToDpi(int length, int dpi) {
  const long long scaled = static_cast<long long>(length) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + kBaseDpi / 2) / kBaseDpi : -((-scaled + kBaseDpi / 2) / kBaseDpi));
}

}  // namespace pelorin
