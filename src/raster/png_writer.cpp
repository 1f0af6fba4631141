#include "raster/png_writer.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "raster/print_resolution.h"

namespace card {
namespace {

// Chosen by measurement on cards (the README's speed section): libdeflate's level 3 makes files
// about 3 % larger than Qt's writer (zlib's level 6) in under a sixth of the time.
constexpr int kDeflateLevel = 3;
constexpr std::uint8_t kSubFilter = 1;
constexpr std::uint8_t kUpFilter = 2;

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 24));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

// A chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::vector<std::uint8_t>& out, std::string_view type, const std::uint8_t* data,
              std::size_t size) {
  PutU32(out, static_cast<std::uint32_t>(size));
  const std::size_t type_at = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data, data + size);
  PutU32(out, libdeflate_crc32(0, out.data() + type_at, 4 + size));
}

// The rows as PNG stores them, each led by its filter type. Every row takes the Sub filter (each
// byte minus the same channel of the pixel to its left): on cards it deflates as small as the
// usual per-row choice among the five filters, which costs more time than the deflating. In a
// scaled picture a pixel's copies after the first are zero under Sub, and the rows that repeat the
// one above take the Up filter, all zeros: the larger file costs little more to deflate.
std::vector<std::uint8_t> FilteredRows(const PixelBuffer& buffer, int scale) {
  const auto width = static_cast<std::size_t>(buffer.width());
  const auto copies = static_cast<std::size_t>(scale);
  const std::size_t row_bytes = 1 + width * copies * 3;
  // Zero-filled: the Up rows and the repeated pixels are left as they are.
  std::vector<std::uint8_t> out(static_cast<std::size_t>(buffer.height()) * copies * row_bytes);
  for (int y = 0; y < buffer.height(); ++y) {
    const std::uint32_t* pixels = buffer.scanline(y);
    std::uint8_t* row = out.data() + static_cast<std::size_t>(y) * copies * row_bytes;
    *row++ = kSubFilter;
    std::uint32_t left = 0;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint32_t pixel = pixels[x];
      std::uint8_t* at = row + 3 * x * copies;
      at[0] = static_cast<std::uint8_t>((pixel >> 16) - (left >> 16));  // red
      at[1] = static_cast<std::uint8_t>((pixel >> 8) - (left >> 8));    // green
      at[2] = static_cast<std::uint8_t>(pixel - left);                  // blue
      left = pixel;
    }
    for (std::size_t copy = 1; copy < copies; ++copy) row[copy * row_bytes - 1] = kUpFilter;
  }
  return out;
}

// The data as a zlib stream, which is what PNG stores.
std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(kDeflateLevel);
  if (compressor == nullptr) throw std::runtime_error("no memory to deflate a PNG");
  std::vector<std::uint8_t> out(libdeflate_zlib_compress_bound(compressor, data.size()));
  const std::size_t size =
      libdeflate_zlib_compress(compressor, data.data(), data.size(), out.data(), out.size());
  libdeflate_free_compressor(compressor);
  if (size == 0) throw std::runtime_error("cannot deflate a PNG");
  out.resize(size);
  return out;
}

// pHYs: the same pixels per metre across and down.
void PutResolution(std::vector<std::uint8_t>& out, int dots_per_inch) {
  std::vector<std::uint8_t> data;
  PutU32(data, PixelsPerMetre(dots_per_inch));
  PutU32(data, PixelsPerMetre(dots_per_inch));
  data.push_back(1);  // unit: the metre
  PutChunk(out, "pHYs", data.data(), data.size());
}

// tEXt holds Latin-1; anything beyond ASCII goes into an uncompressed iTXt as UTF-8.
void PutText(std::vector<std::uint8_t>& out, const PngText& text) {
  const bool ascii = std::all_of(text.text.begin(), text.text.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  std::vector<std::uint8_t> data(text.keyword.begin(), text.keyword.end());
  data.push_back(0);
  if (!ascii) {
    // compressed: no, method 0, and an empty language tag and translated keyword
    data.insert(data.end(), {0, 0, 0, 0});
  }
  data.insert(data.end(), text.text.begin(), text.text.end());
  PutChunk(out, ascii ? "tEXt" : "iTXt", data.data(), data.size());
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const PixelBuffer& buffer, const PngDetails& details) {
  const int scale = std::clamp(details.scale, 1, kMaxPrintScale);
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutU32(header, static_cast<std::uint32_t>(buffer.width() * scale));
  PutU32(header, static_cast<std::uint32_t>(buffer.height() * scale));
  header.push_back(8);  // bit depth
  header.push_back(2);  // colour type: RGB
  header.push_back(0);  // compression: deflate
  header.push_back(0);  // filter method: adaptive, five types
  header.push_back(0);  // interlace: none
  PutChunk(out, "IHDR", header.data(), header.size());
  if (details.dots_per_inch > 0) PutResolution(out, details.dots_per_inch);
  // Before the pixels, where a reader that stops at them still finds them.
  for (const PngText& text : details.texts) PutText(out, text);
  const std::vector<std::uint8_t> compressed = Deflate(FilteredRows(buffer, scale));
  PutChunk(out, "IDAT", compressed.data(), compressed.size());
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace card
