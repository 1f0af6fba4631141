#pragma once

// Comparisons for cross-checks of two renderings that say where they differ, not only that they
// do: the first differing pixel of two pictures, and values compared by kind as well as content.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "numeric/value.h"
#include "raster/pixel_buffer.h"

namespace card::testing {

struct PixelMismatch {
  int x, y;
  std::uint32_t actual, expected;
  std::int64_t count;  // differing pixels in all
};
// The first differing pixel in scan order; nothing when the pictures are equal. Pictures of
// different sizes are compared over their common part.
std::optional<PixelMismatch> FirstMismatch(const PixelBuffer& actual, const PixelBuffer& expected);

// White where the pictures differ, black where they agree, over their common part.
PixelBuffer DifferenceImage(const PixelBuffer& actual, const PixelBuffer& expected);

::testing::AssertionResult SamePicture(const PixelBuffer& actual, const PixelBuffer& expected);

// Exact equality of kind and content; `names` label the values in a failure.
::testing::AssertionResult SameValues(const std::vector<std::string>& names,
                                      const std::vector<Value>& actual,
                                      const std::vector<Value>& expected);

}  // namespace card::testing
