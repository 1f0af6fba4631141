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

// Chosen by measurement on cards (docs/speed.md): with the filter chosen per band, libdeflate's
// level 6 makes files 1 to 15 % smaller than Qt's writer (zlib's level 6 and a filter per row).
constexpr int kDeflateLevel = 6;
// The filter is tried on the first rows of each band of picture rows, deflated at the fastest
// level: a sample that small decides nearly as well as trying whole bands (files 1 % larger), at
// an eighth of the cost.
constexpr int kBandRows = 32;
constexpr int kSampleRows = 4;
constexpr int kTrialLevel = 1;
constexpr std::uint8_t kNoFilter = 0;
constexpr std::uint8_t kSubFilter = 1;
constexpr std::uint8_t kUpFilter = 2;

// A libdeflate compressor, freed with its owner.
class Compressor {
 public:
  explicit Compressor(int level) : compressor_(libdeflate_alloc_compressor(level)) {
    if (compressor_ == nullptr) throw std::runtime_error("no memory to deflate a PNG");
  }
  ~Compressor() { libdeflate_free_compressor(compressor_); }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  // The data as a zlib stream, which is what PNG stores.
  std::vector<std::uint8_t> Zlib(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out(libdeflate_zlib_compress_bound(compressor_, size));
    const std::size_t written =
        libdeflate_zlib_compress(compressor_, data, size, out.data(), out.size());
    if (written == 0) throw std::runtime_error("cannot deflate a PNG");
    out.resize(written);
    return out;
  }

 private:
  libdeflate_compressor* compressor_;
};

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

// One picture row as PNG stores it, led by its filter type: unfiltered, or under the Sub filter
// (each byte minus the same channel of the pixel to its left). Each pixel is written `copies`
// times across; under Sub the copies after the first are zero (the row arrives zero-filled).
void FilterRow(const std::uint32_t* pixels, std::size_t width, std::size_t copies,
               std::uint8_t filter, std::uint8_t* row) {
  *row++ = filter;
  std::uint32_t left = 0;
  for (std::size_t x = 0; x < width; ++x) {
    const std::uint32_t pixel = pixels[x];
    const std::uint32_t base = filter == kSubFilter ? left : 0;
    std::uint8_t* at = row + 3 * x * copies;
    at[0] = static_cast<std::uint8_t>((pixel >> 16) - (base >> 16));  // red
    at[1] = static_cast<std::uint8_t>((pixel >> 8) - (base >> 8));    // green
    at[2] = static_cast<std::uint8_t>(pixel - base);                  // blue
    if (filter == kNoFilter) {
      for (std::size_t copy = 1; copy < copies; ++copy) std::copy_n(at, 3, at + 3 * copy);
    }
    left = pixel;
  }
}

// The filter for the band of rows from `top`: Sub suits the cards' colour gradients, no filter
// the bands where whole runs of colours repeat; whichever deflates the band's first rows smaller.
std::uint8_t BandFilter(const PixelBuffer& buffer, int top, Compressor& trial) {
  const auto width = static_cast<std::size_t>(buffer.width());
  const int rows = std::min(kSampleRows, buffer.height() - top);
  const std::size_t row_bytes = 1 + width * 3;
  std::vector<std::uint8_t> sample(static_cast<std::size_t>(rows) * row_bytes);
  std::size_t best_size = 0;
  std::uint8_t best = kSubFilter;
  for (const std::uint8_t filter : {kSubFilter, kNoFilter}) {
    for (int y = 0; y < rows; ++y) {
      FilterRow(buffer.scanline(top + y), width, 1, filter,
                sample.data() + static_cast<std::size_t>(y) * row_bytes);
    }
    const std::size_t size = trial.Zlib(sample.data(), sample.size()).size();
    if (filter == kSubFilter || size < best_size) {
      best_size = size;
      best = filter;
    }
  }
  return best;
}

// The rows as PNG stores them. In a scaled picture the rows that repeat the one above take the Up
// filter, all zeros: the larger file costs little more to deflate.
std::vector<std::uint8_t> FilteredRows(const PixelBuffer& buffer, int scale) {
  const auto width = static_cast<std::size_t>(buffer.width());
  const auto copies = static_cast<std::size_t>(scale);
  const std::size_t row_bytes = 1 + width * copies * 3;
  // Zero-filled: the Up rows and the repeated pixels under Sub are left as they are.
  std::vector<std::uint8_t> out(static_cast<std::size_t>(buffer.height()) * copies * row_bytes);
  Compressor trial(kTrialLevel);
  std::uint8_t filter = kSubFilter;
  for (int y = 0; y < buffer.height(); ++y) {
    if (y % kBandRows == 0) filter = BandFilter(buffer, y, trial);
    std::uint8_t* row = out.data() + static_cast<std::size_t>(y) * copies * row_bytes;
    FilterRow(buffer.scanline(y), width, copies, filter, row);
    for (std::size_t copy = 1; copy < copies; ++copy) row[copy * row_bytes] = kUpFilter;
  }
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
  const std::vector<std::uint8_t> rows = FilteredRows(buffer, scale);
  const std::vector<std::uint8_t> compressed =
      Compressor(kDeflateLevel).Zlib(rows.data(), rows.size());
  PutChunk(out, "IDAT", compressed.data(), compressed.size());
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace card
