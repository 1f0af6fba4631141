#include "raster/png_writer.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace card {
namespace {

// Chosen by measurement on cards (the README's speed section): level 4 with the strategy for
// filtered data gives files the size of the ones Qt writes (level 6) in a third of the time.
constexpr int kDeflateLevel = 4;
constexpr std::uint8_t kSubFilter = 1;

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
  const uLong crc = crc32(0L, out.data() + type_at, static_cast<uInt>(4 + size));
  PutU32(out, static_cast<std::uint32_t>(crc));
}

// The rows as PNG stores them, each led by its filter type. Every row takes the Sub filter (each
// byte minus the same channel of the pixel to its left): on cards it deflates as small as the
// usual per-row choice among the five filters, which costs more time than the deflating.
std::vector<std::uint8_t> FilteredRows(const PixelBuffer& buffer) {
  const auto width = static_cast<std::size_t>(buffer.width());
  const std::size_t row_bytes = 1 + width * 3;
  std::vector<std::uint8_t> out(static_cast<std::size_t>(buffer.height()) * row_bytes);
  for (int y = 0; y < buffer.height(); ++y) {
    const std::uint32_t* pixels = buffer.scanline(y);
    std::uint8_t* row = out.data() + static_cast<std::size_t>(y) * row_bytes;
    *row++ = kSubFilter;
    std::uint32_t left = 0;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint32_t pixel = pixels[x];
      row[3 * x] = static_cast<std::uint8_t>((pixel >> 16) - (left >> 16));    // red
      row[3 * x + 1] = static_cast<std::uint8_t>((pixel >> 8) - (left >> 8));  // green
      row[3 * x + 2] = static_cast<std::uint8_t>(pixel - left);                // blue
      left = pixel;
    }
  }
  return out;
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
  z_stream stream{};
  if (deflateInit2(&stream, kDeflateLevel, Z_DEFLATED, 15, 8, Z_FILTERED) != Z_OK) {
    throw std::runtime_error("cannot start deflating a PNG");
  }
  std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(data.size())));
  stream.next_in = const_cast<Bytef*>(data.data());  // zlib's interface predates const
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("deflate did not finish");
  out.resize(stream.total_out);
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const PixelBuffer& buffer) {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutU32(header, static_cast<std::uint32_t>(buffer.width()));
  PutU32(header, static_cast<std::uint32_t>(buffer.height()));
  header.push_back(8);  // bit depth
  header.push_back(2);  // colour type: RGB
  header.push_back(0);  // compression: deflate
  header.push_back(0);  // filter method: adaptive, five types
  header.push_back(0);  // interlace: none
  PutChunk(out, "IHDR", header.data(), header.size());
  const std::vector<std::uint8_t> compressed = Deflate(FilteredRows(buffer));
  PutChunk(out, "IDAT", compressed.data(), compressed.size());
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace card
