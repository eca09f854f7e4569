#pragma once

#include <gtest/gtest.h>

#include "Button.h"

namespace pelorin {

// The stored values two buttons hold: one read from a property store, one given the same values
// another way. A picture counts by the object it names, an empty one as none.
inline void ExpectSameStoredValues(const Button& applied, const Button& read) {
  EXPECT_EQ(applied.BackColor(), read.BackColor());
  EXPECT_EQ(applied.ForeColor(), read.ForeColor());
  EXPECT_EQ(applied.Enabled(), read.Enabled());
  EXPECT_EQ(*applied.Font(), *read.Font());
  EXPECT_EQ(applied.BackStyle(), read.BackStyle());
  EXPECT_EQ(applied.BorderStyle(), read.BorderStyle());
  EXPECT_EQ(applied.Caption(), read.Caption());
  EXPECT_EQ(applied.Resizeable(), read.Resizeable());
  EXPECT_EQ(applied.CaptionDownXAmount(), read.CaptionDownXAmount());
  EXPECT_EQ(applied.CaptionDownYAmount(), read.CaptionDownYAmount());
  EXPECT_EQ(applied.CaptionMoveWhenPressed(), read.CaptionMoveWhenPressed());
  for (const auto& picture : {&Button::PictureNormal, &Button::PicturePressed, &Button::Picture}) {
    ASSERT_TRUE((applied.*picture)());  // an absent picture is an empty one, never none
    EXPECT_EQ((applied.*picture)()->Present() ? (applied.*picture)() : nullptr,
              (read.*picture)()->Present() ? (read.*picture)() : nullptr);
  }
}

}  // namespace pelorin
