// The film's colour planes against BT.709 itself, in both ranges: every card pixel a 2 x 2 square
// of one Y value and one U and V sample, and only the rows a frame changed rewritten.
#include "video/film_planes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace card {
namespace {

struct Expected {
  double y, u, v;
};

// BT.709 in real numbers: Y' from 0 to 1, U and V from -0.5 to 0.5, then spread over the range.
Expected Bt709(std::uint32_t rgb, FilmRange range) {
  const double r = ((rgb >> 16) & 0xFF) / 255.0, g = ((rgb >> 8) & 0xFF) / 255.0,
               b = (rgb & 0xFF) / 255.0;
  const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  const double u = (b - y) / 1.8556, v = (r - y) / 1.5748;
  if (range == FilmRange::kFull) return {255 * y, 128 + 255 * u, 128 + 255 * v};
  return {16 + 219 * y, 128 + 224 * u, 128 + 224 * v};
}

TEST(FilmPlanes, HoldEachCardPixelAsOneBt709ColourInEitherRange) {
  const std::uint32_t colours[] = {0xFF000000u, 0xFFFFFFFFu, 0xFF808080u, 0xFFFF0000u,
                                   0xFF00FF00u, 0xFF0000FFu, 0xFF12C0EEu, 0xFFFFFF00u};
  const int columns = static_cast<int>(std::size(colours));
  for (const FilmRange range : {FilmRange::kLimited, FilmRange::kFull}) {
    const bool full = range == FilmRange::kFull;
    SCOPED_TRACE(full ? "full range" : "limited range");
    PixelBuffer picture(kPictureWidth, kPictureHeight);
    for (int x = 0; x < columns; ++x) picture.scanline(3)[x] = colours[x];
    const std::ptrdiff_t y_stride = kFilmWidth + 6, chroma_stride = kFilmWidth / 2 + 3;
    std::vector<std::uint8_t> y(y_stride * kFilmHeight, 7), u(chroma_stride * kFilmHeight / 2, 7),
        v(chroma_stride * kFilmHeight / 2, 7);
    // Row 3 alone changed: every other row keeps what the planes held.
    ConvertFilmRows({&picture, 3, 3, false}, range,
                    {y.data(), u.data(), v.data(), y_stride, chroma_stride});
    for (int x = 0; x < columns; ++x) {
      SCOPED_TRACE(testing::Message() << std::hex << colours[x]);
      const Expected e = Bt709(colours[x], range);
      const std::uint8_t luma = y[6 * y_stride + 2 * x];
      EXPECT_NEAR(luma, e.y, 0.5 + 1e-9);
      EXPECT_EQ(y[6 * y_stride + 2 * x + 1], luma);
      EXPECT_EQ(y[7 * y_stride + 2 * x], luma);
      EXPECT_EQ(y[7 * y_stride + 2 * x + 1], luma);
      EXPECT_NEAR(u[3 * chroma_stride + x], e.u, 0.5 + 1e-9);
      EXPECT_NEAR(v[3 * chroma_stride + x], e.v, 0.5 + 1e-9);
    }
    // Greys carry no colour at all, and black and white sit at the ends of the range.
    EXPECT_EQ(u[3 * chroma_stride + 2], 128);
    EXPECT_EQ(v[3 * chroma_stride + 2], 128);
    EXPECT_EQ(y[6 * y_stride], full ? 0 : 16);
    EXPECT_EQ(y[6 * y_stride + 2], full ? 255 : 235);
    EXPECT_EQ(y[5 * y_stride], 7);
    EXPECT_EQ(y[8 * y_stride], 7);
    EXPECT_EQ(u[2 * chroma_stride], 7);
    EXPECT_EQ(v[4 * chroma_stride], 7);
  }
}

}  // namespace
}  // namespace card
