#pragma once

#include <cstdint>
#include <vector>

namespace card {

// A plain 32-bit image, 0xFFRRGGBB per pixel, rows top to bottom without padding. The window shows
// this memory directly (as a QImage in RGB32 format), so the core and the screen share one buffer.
class PixelBuffer {
 public:
  PixelBuffer(int width, int height, std::uint32_t fill = 0xFF000000u)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return width_; }  // in pixels
  std::uint32_t* scanline(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* scanline(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  std::uint32_t* data() { return pixels_.data(); }
  const std::uint32_t* data() const { return pixels_.data(); }
  std::uint32_t at(int x, int y) const { return scanline(y)[x]; }
  void Fill(std::uint32_t argb) { pixels_.assign(pixels_.size(), argb); }

  friend bool operator==(const PixelBuffer& a, const PixelBuffer& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
  }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

// Packed colours of the program are red + 256 * green + 65536 * blue; the buffer stores 0xFFRRGGBB.
constexpr std::uint32_t ArgbFromPacked(std::int32_t packed) {
  const auto p = static_cast<std::uint32_t>(packed);
  return 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}
constexpr std::int32_t PackedFromArgb(std::uint32_t argb) {
  return static_cast<std::int32_t>(((argb >> 16) & 0xFFu) | (argb & 0xFF00u) |
                                   ((argb & 0xFFu) << 16));
}

}  // namespace card
