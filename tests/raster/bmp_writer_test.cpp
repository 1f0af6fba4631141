#include "raster/bmp_writer.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {
namespace {

std::uint32_t ReadU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes.at(at) | bytes.at(at + 1) << 8;
}

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return ReadU16(bytes, at) | ReadU16(bytes, at + 2) << 16;
}

std::int32_t ReadI32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::int32_t>(ReadU32(bytes, at));
}

// A minimal reader for uncompressed 24-bit bitmaps, top-down or bottom-up, written from the file
// format rather than from the writer.
std::optional<PixelBuffer> DecodeBmp(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint32_t data_offset = ReadU32(bytes, 10);
  const std::int32_t width = ReadI32(bytes, 18);
  const std::int32_t stored_height = ReadI32(bytes, 22);
  if (ReadU16(bytes, 28) != 24 || ReadU32(bytes, 30) != 0 || width <= 0) return std::nullopt;
  const bool bottom_up = stored_height > 0;
  const int height = bottom_up ? stored_height : -stored_height;
  const std::size_t row_size = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  if (bytes.size() < data_offset + row_size * height) return std::nullopt;

  PixelBuffer image(width, height);
  for (int row = 0; row < height; ++row) {
    const int y = bottom_up ? height - 1 - row : row;
    for (int x = 0; x < width; ++x) {
      const std::size_t at = data_offset + row * row_size + static_cast<std::size_t>(x) * 3;
      const std::uint32_t blue = bytes[at], green = bytes[at + 1], red = bytes[at + 2];
      image.scanline(y)[x] = 0xFF000000u | red << 16 | green << 8 | blue;
    }
  }
  return image;
}

// Every pixel differs from its neighbours and from its mirror images, and red, green and blue
// differ within each pixel.
PixelBuffer Gradient(int width, int height) {
  PixelBuffer image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t red = 10 + 30 * x;
      const std::uint32_t green = 15 + 45 * y;
      const std::uint32_t blue = 200 - 5 * x - 11 * y;
      image.scanline(y)[x] = 0xFF000000u | red << 16 | green << 8 | blue;
    }
  }
  return image;
}

TEST(BmpWriterTest, WritesTheHeadersOfA24BitBottomUpBitmap) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(Gradient(7, 5));
  // 7 pixels are 21 bytes, padded to 24; five rows.
  ASSERT_EQ(bytes.size(), 54u + 24u * 5u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(ReadU32(bytes, 2), bytes.size());  // file size
  EXPECT_EQ(ReadU32(bytes, 6), 0u);            // both reserved words
  EXPECT_EQ(ReadU32(bytes, 10), 54u);          // pixel data offset
  EXPECT_EQ(ReadU32(bytes, 14), 40u);          // info header size
  EXPECT_EQ(ReadI32(bytes, 18), 7);            // width
  EXPECT_EQ(ReadI32(bytes, 22), 5);            // height, positive: bottom-up
  EXPECT_EQ(ReadU16(bytes, 26), 1u);           // planes
  EXPECT_EQ(ReadU16(bytes, 28), 24u);          // bits per pixel
  EXPECT_EQ(ReadU32(bytes, 30), 0u);           // compression: none
  EXPECT_EQ(ReadU32(bytes, 34), 24u * 5u);     // image size
  EXPECT_EQ(ReadI32(bytes, 38), 2835);         // horizontal pixels per metre
  EXPECT_EQ(ReadI32(bytes, 42), 2835);         // vertical pixels per metre
  EXPECT_EQ(ReadU32(bytes, 46), 0u);           // colours used
  EXPECT_EQ(ReadU32(bytes, 50), 0u);           // important colours
}

TEST(BmpWriterTest, StoresTheBottomRowFirstInBlueGreenRedOrder) {
  const PixelBuffer image = Gradient(7, 5);
  const std::vector<std::uint8_t> bytes = EncodeBmp(image);
  const std::uint32_t bottom_left = image.at(0, 4);
  EXPECT_EQ(bytes[54], bottom_left & 0xFF);
  EXPECT_EQ(bytes[55], bottom_left >> 8 & 0xFF);
  EXPECT_EQ(bytes[56], bottom_left >> 16 & 0xFF);
  for (std::size_t row = 0; row < 5; ++row) {
    for (std::size_t pad = 21; pad < 24; ++pad) EXPECT_EQ(bytes[54 + row * 24 + pad], 0);
  }
}

TEST(BmpWriterTest, DecodesToTheSameImageForEveryRowPadding) {
  for (int width = 1; width <= 8; ++width) {
    SCOPED_TRACE(testing::Message() << "width " << width);
    const PixelBuffer image = Gradient(width, 5);
    const std::vector<std::uint8_t> bytes = EncodeBmp(image);
    EXPECT_EQ(bytes.size(), 54u + (3u * width + 3u) / 4u * 4u * 5u);
    const std::optional<PixelBuffer> decoded = DecodeBmp(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(*decoded == image);
  }
}

}  // namespace
}  // namespace card
