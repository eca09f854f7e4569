#include "DisplayScale.h"

namespace pelorin {

int PixelScaleOfDpi(int dpi) {
  const int scale = (dpi + kBaseDpi / 2) / kBaseDpi;
  return scale < 1 ? 1 : scale;
}

int PixelScaleWithinDpi(int dpi) { return dpi < 2 * kBaseDpi ? 1 : dpi / kBaseDpi; }

// length * dpi / 96, rounded half away from zero. The whole 96ths are scaled apart from the
// rest, so no product overflows and no 64-bit division (a library routine on 32-bit) is needed.
int ScaleToDpi(int length, int dpi) {
  const unsigned magnitude = length < 0 ? 0u - static_cast<unsigned>(length) : static_cast<unsigned>(length);
  const unsigned scaled = magnitude / kBaseDpi * static_cast<unsigned>(dpi) +
                          (magnitude % kBaseDpi * static_cast<unsigned>(dpi) + kBaseDpi / 2) / kBaseDpi;
  return length < 0 ? -static_cast<int>(scaled) : static_cast<int>(scaled);
}

}  // namespace pelorin
