#pragma once

namespace pelorin {

// The dots per inch at which a window is laid out in its own units: 100 %.
inline constexpr int kBaseDpi = 96;

// The whole factor that pixel art is drawn at on a monitor of `dpi`: the nearest one to the
// monitor's scale, halves going up (150 % draws at 2), and never below 1.
int PixelScaleOfDpi(int dpi);

// The largest whole factor that stays within the monitor's scale, never below 1: for a
// picture that must fit a layout scaled exactly.
int PixelScaleWithinDpi(int dpi);

// A length in 96-DPI units at `dpi`, rounded to the nearest pixel.
int ScaleToDpi(int length, int dpi);

}  // namespace pelorin
