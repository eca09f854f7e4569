#pragma once

#include <cstdint>

#include "Button.h"

namespace pelorin {

// A picture of stored button data: the resource its bytes are in, and the stored line it
// came from, which names it when the bytes are damaged. No resource: an empty picture.
struct StoredPicture {
  const char* resource = nullptr;
  const char* line = nullptr;
};

// One button instance of a window's stored data, as resources/make_button_table.py makes it
// at build time from the readable text that StoredButtons.h describes.
struct StoredButton {
  const char* name;
  // The instance's size in hundredths of a millimetre.
  std::int32_t extentX;
  std::int32_t extentY;
  ButtonSettings settings;
  // PictureNormal, PicturePressed and Picture.
  StoredPicture pictures[3];
};

}  // namespace pelorin
