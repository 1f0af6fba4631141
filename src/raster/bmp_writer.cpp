#include "raster/bmp_writer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/print_resolution.h"

namespace card {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr int kDefaultDotsPerInch = 72;

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
  }
}

void PutI32(std::vector<std::uint8_t>& out, std::int32_t value) {
  PutU32(out, static_cast<std::uint32_t>(value));
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const PixelBuffer& buffer, int scale, int dots_per_inch) {
  scale = std::clamp(scale, 1, kMaxPrintScale);
  const int width = buffer.width() * scale;
  const int height = buffer.height() * scale;
  const auto pixels_per_metre = static_cast<std::int32_t>(
      PixelsPerMetre(dots_per_inch > 0 ? dots_per_inch : kDefaultDotsPerInch));
  // Every row holds three bytes a pixel and is padded to a multiple of four bytes.
  const std::uint32_t row_size = (3u * static_cast<std::uint32_t>(width) + 3u) & ~3u;
  const std::uint32_t image_size = row_size * static_cast<std::uint32_t>(height);
  const std::uint32_t pixel_offset = kFileHeaderSize + kInfoHeaderSize;
  const std::uint32_t file_size = pixel_offset + image_size;

  std::vector<std::uint8_t> out;
  out.reserve(file_size);

  // BITMAPFILEHEADER
  out.push_back('B');  // type
  out.push_back('M');
  PutU32(out, file_size);     // file size
  PutU16(out, 0);             // reserved 1
  PutU16(out, 0);             // reserved 2
  PutU32(out, pixel_offset);  // offset of the pixel data

  // BITMAPINFOHEADER
  PutU32(out, kInfoHeaderSize);   // header size
  PutI32(out, width);             // width
  PutI32(out, height);            // height; positive, so the rows are stored bottom-up
  PutU16(out, 1);                 // planes
  PutU16(out, 24);                // bits per pixel
  PutU32(out, 0);                 // compression: BI_RGB, none
  PutU32(out, image_size);        // image size
  PutI32(out, pixels_per_metre);  // horizontal resolution
  PutI32(out, pixels_per_metre);  // vertical resolution
  PutU32(out, 0);                 // colours used: all that 24 bits hold
  PutU32(out, 0);                 // important colours: all

  // Rows padded with zeros, each pixel written scale times, and the square's other rows copied.
  const std::size_t pixels_at = out.size();
  out.resize(pixels_at + image_size, 0);
  std::uint8_t* row_out = out.data() + pixels_at;
  for (int y = buffer.height() - 1; y >= 0; --y) {
    const std::uint32_t* row = buffer.scanline(y);
    std::uint8_t* at = row_out;
    for (int x = 0; x < buffer.width(); ++x) {
      const std::uint32_t argb = row[x];
      for (int copy = 0; copy < scale; ++copy) {
        *at++ = static_cast<std::uint8_t>(argb & 0xFFu);          // blue
        *at++ = static_cast<std::uint8_t>((argb >> 8) & 0xFFu);   // green
        *at++ = static_cast<std::uint8_t>((argb >> 16) & 0xFFu);  // red
      }
    }
    for (int copy = 1; copy < scale; ++copy) {
      std::memcpy(row_out + static_cast<std::size_t>(copy) * row_size, row_out, row_size);
    }
    row_out += static_cast<std::size_t>(scale) * row_size;
  }
  return out;
}

}  // namespace card
