#pragma once

#include <cstdint>
#include "Str.h"
#include <variant>
#include <vector>

#include "Pixels.h"
#include "SharedRef.h"

namespace pelorin {

// A font as the button stores it.
struct FontObject {
  String name = "MS Sans Serif";
  float size = 8.25f;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  bool operator==(const FontObject&) const = default;
};
using FontRef = SharedRef<FontObject>;

// A picture object; it may be empty (hold no image).
struct PictureObject {
  int width = 0;   // pixels
  int height = 0;
  std::vector<Pixel> pixels;  // top-down rows; empty for an empty picture

  bool Present() const { return !pixels.empty(); }
};
using PictureRef = SharedRef<const PictureObject>;

inline PictureRef EmptyPicture() { return PictureRef(new PictureObject); }

// A value in the host's property store.
using PropertyValue = std::variant<std::int16_t, std::int32_t, bool, float, String, FontRef, PictureRef>;

// The default rule: numbers, booleans and floats compare by value (true equals any non-zero
// number), text by its bytes, fonts by their attributes, pictures as equal when neither holds
// an image or both are the same object.
bool ValuesEqual(const PropertyValue& a, const PropertyValue& b);

}  // namespace pelorin
