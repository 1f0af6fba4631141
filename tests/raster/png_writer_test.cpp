#include "raster/png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {
namespace {

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return std::uint32_t{bytes.at(at)} << 24 | std::uint32_t{bytes.at(at + 1)} << 16 |
         std::uint32_t{bytes.at(at + 2)} << 8 | bytes.at(at + 3);
}

int PaethPredictor(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// A minimal reader for 8-bit RGB PNG files, written from the file format rather than from the
// writer: every chunk's CRC checked, all five row filters undone.
std::optional<PixelBuffer> DecodePng(const std::vector<std::uint8_t>& bytes,
                                     std::set<int>* filters = nullptr) {
  const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || !std::equal(signature.begin(), signature.end(), bytes.begin())) {
    return std::nullopt;
  }
  int width = 0, height = 0;
  std::vector<std::uint8_t> compressed;
  bool ended = false;
  for (std::size_t at = 8; at < bytes.size() && !ended;) {
    const std::uint32_t length = ReadU32(bytes, at);
    if (at + 12 + length > bytes.size()) return std::nullopt;
    const std::string type(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + 8));
    const std::uint8_t* data = bytes.data() + at + 8;
    if (crc32(0L, bytes.data() + at + 4, length + 4) != ReadU32(bytes, at + 8 + length)) {
      ADD_FAILURE() << "bad CRC in chunk " << type;
      return std::nullopt;
    }
    if (type == "IHDR") {
      width = static_cast<int>(ReadU32(bytes, at + 8));
      height = static_cast<int>(ReadU32(bytes, at + 12));
      // bit depth 8, colour type RGB, deflate, adaptive filtering, no interlace
      if (length != 13 || data[8] != 8 || data[9] != 2 || data[10] != 0 || data[11] != 0 ||
          data[12] != 0) {
        return std::nullopt;
      }
    } else if (type == "IDAT") {
      compressed.insert(compressed.end(), data, data + length);
    } else if (type == "IEND") {
      ended = at + 12 == bytes.size();
    }
    at += 12 + length;
  }
  if (!ended || width <= 0 || height <= 0) return std::nullopt;

  const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(height) * (row_bytes + 1));
  uLongf raw_size = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &raw_size, compressed.data(), static_cast<uLong>(compressed.size())) !=
          Z_OK ||
      raw_size != raw.size()) {
    return std::nullopt;
  }
  PixelBuffer picture(width, height);
  std::vector<std::uint8_t> previous(row_bytes, 0), current(row_bytes);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * (row_bytes + 1);
    for (std::size_t i = 0; i < row_bytes; ++i) {
      const int a = i >= 3 ? current[i - 3] : 0, b = previous[i], c = i >= 3 ? previous[i - 3] : 0;
      const int predictions[5] = {0, a, b, (a + b) / 2, PaethPredictor(a, b, c)};
      if (row[0] > 4) return std::nullopt;
      if (filters != nullptr) filters->insert(row[0]);
      current[i] = static_cast<std::uint8_t>(row[1 + i] + predictions[row[0]]);
    }
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = current.data() + 3 * x;
      picture.scanline(y)[x] =
          0xFF000000u | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    }
    previous.swap(current);
  }
  return picture;
}

TEST(PngWriter, ReadersGetThePixelsBack) {
  // Odd sizes, distinct channels and an asymmetric pattern, so swapped channels, flipped rows or a
  // wrong left neighbour show; the noise makes the deflater emit literals of every kind.
  PixelBuffer gradient(13, 7);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 13; ++x) {
      gradient.scanline(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(x * 19) << 16 |
                                static_cast<std::uint32_t>(y * 37) << 8 |
                                static_cast<std::uint32_t>(255 - x * y);
    }
  }
  PixelBuffer noise(701, 3);
  std::mt19937 random(5);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 701; ++x) noise.scanline(y)[x] = 0xFF000000u | (random() & 0xFFFFFFu);
  }
  PixelBuffer single(1, 1, 0xFF123456u);
  // Bands of rows that deflate smaller under different filters: a smooth gradient (the Sub
  // filter), then random picks among four colours (no filter), then the gradient again.
  PixelBuffer banded(200, 96);
  const std::uint32_t four[] = {0xFF1F6E43u, 0xFFC0392Bu, 0xFFF4D03Fu, 0xFF2E4053u};
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 200; ++x) {
      banded.scanline(y)[x] = y / 32 == 1 ? four[random() % 4]
                                          : 0xFF000000u | static_cast<std::uint32_t>(x) << 16 |
                                                static_cast<std::uint32_t>(y) << 8 |
                                                static_cast<std::uint32_t>((x + y) & 0xFF);
    }
  }
  for (const PixelBuffer* picture : {&gradient, &noise, &single, &banded}) {
    std::set<int> filters;
    const std::optional<PixelBuffer> decoded = DecodePng(EncodePng(*picture), &filters);
    ASSERT_TRUE(decoded.has_value()) << picture->width() << "x" << picture->height();
    EXPECT_TRUE(*decoded == *picture) << picture->width() << "x" << picture->height();
    if (picture == &banded) {
      EXPECT_EQ(filters, (std::set<int>{0, 1})) << "a filter for each band";
    }
  }
}

// A scaled picture as any reader sees it: each pixel an N x N square, the resolution and text
// chunks well formed (their CRCs are checked) and before the pixels.
TEST(PngWriter, ScaledPicturesHoldEachPixelAsASquare) {
  PixelBuffer picture(5, 3);
  std::mt19937 random(7);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) picture.scanline(y)[x] = 0xFF000000u | (random() & 0xFFFFFFu);
  }
  for (int scale = 1; scale <= 8; ++scale) {
    SCOPED_TRACE(testing::Message() << "scale " << scale);
    const PngDetails details{scale, 300, {{"Title", "ana"}, {"Description", "\xC5\xA1ola"}}};
    const std::vector<std::uint8_t> bytes = EncodePng(picture, details);
    const std::optional<PixelBuffer> decoded = DecodePng(bytes);
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->width(), 5 * scale);
    ASSERT_EQ(decoded->height(), 3 * scale);
    for (int y = 0; y < decoded->height(); ++y) {
      for (int x = 0; x < decoded->width(); ++x) {
        ASSERT_EQ(decoded->at(x, y), picture.at(x / scale, y / scale)) << x << ", " << y;
      }
    }
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t pixels = text.find("IDAT");
    EXPECT_LT(text.find(std::string("pHYs\0\0\x2E\x23\0\0\x2E\x23\x01", 13)), pixels);
    EXPECT_LT(text.find(std::string("tEXtTitle\0ana", 13)), pixels);
    EXPECT_LT(text.find(std::string("iTXtDescription\0\0\0\0\0\xC5\xA1ola", 24)), pixels);
  }
}

}  // namespace
}  // namespace card
