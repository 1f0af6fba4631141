#include "support/picture_compare.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "numeric/raises.h"  // prints a value as its kind and content

namespace card::testing {
namespace {

std::string Hex(std::uint32_t argb) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", argb);
  return text;
}

}  // namespace

std::optional<PixelMismatch> FirstMismatch(const PixelBuffer& actual, const PixelBuffer& expected) {
  std::optional<PixelMismatch> first;
  const int width = std::min(actual.width(), expected.width());
  const int height = std::min(actual.height(), expected.height());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (actual.at(x, y) == expected.at(x, y)) continue;
      if (!first) first = PixelMismatch{x, y, actual.at(x, y), expected.at(x, y), 0};
      ++first->count;
    }
  }
  return first;
}

PixelBuffer DifferenceImage(const PixelBuffer& actual, const PixelBuffer& expected) {
  const int width = std::min(actual.width(), expected.width());
  const int height = std::min(actual.height(), expected.height());
  PixelBuffer difference(width, height, 0xFF000000u);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (actual.at(x, y) != expected.at(x, y)) difference.scanline(y)[x] = 0xFFFFFFFFu;
    }
  }
  return difference;
}

::testing::AssertionResult SamePicture(const PixelBuffer& actual, const PixelBuffer& expected) {
  if (actual.width() != expected.width() || actual.height() != expected.height()) {
    return ::testing::AssertionFailure()
           << "sizes differ: actual " << actual.width() << "x" << actual.height() << ", expected "
           << expected.width() << "x" << expected.height();
  }
  const std::optional<PixelMismatch> mismatch = FirstMismatch(actual, expected);
  if (!mismatch) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << mismatch->count << (mismatch->count == 1 ? " pixel differs" : " pixels differ")
         << "; the first at (" << mismatch->x << ", " << mismatch->y << "): actual "
         << Hex(mismatch->actual) << ", expected " << Hex(mismatch->expected);
}

::testing::AssertionResult SameValues(const std::vector<std::string>& names,
                                      const std::vector<Value>& actual,
                                      const std::vector<Value>& expected) {
  if (actual.size() != expected.size() || names.size() != actual.size()) {
    return ::testing::AssertionFailure() << "different numbers of values";
  }
  bool same = true;
  std::ostringstream failures;
  for (std::size_t k = 0; k < actual.size(); ++k) {
    if (actual[k] == expected[k]) continue;
    same = false;
    failures << "\n  " << names[k] << ": actual " << ::testing::PrintToString(actual[k])
             << ", expected " << ::testing::PrintToString(expected[k]);
  }
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "values differ:" << failures.str();
}

}  // namespace card::testing
