#include "overlay/greeting_text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "overlay/greeting.h"

namespace card {
namespace {

// One character's image at one of the horizontal positions within a pixel: where it lies from the
// pen position on the line's top, and where its coverage rows begin in kFontCoverage.
struct FontGlyph {
  std::int8_t left;
  std::int8_t top;
  std::uint8_t width;
  std::uint8_t height;
  std::uint16_t offset;
};

struct FontKerning {
  std::uint8_t first;
  std::uint8_t second;
  std::int16_t amount;  // 1/64 pixel
};

#include "overlay/greeting_font_table.inc"

static_assert(kFontFirst == ' ' && kFontLast == '~', "the table holds what InGreetingFont says");

bool InFont(unsigned char c) {
  return InGreetingFont(static_cast<char>(c));
}

int Kerning(unsigned char first, unsigned char second) {
  const auto* end = std::end(kFontKerning);
  const auto* pair = std::lower_bound(
      std::begin(kFontKerning), end, std::pair{first, second},
      [](const FontKerning& k, const std::pair<unsigned char, unsigned char>& wanted) {
        return std::pair{k.first, k.second} < wanted;
      });
  return pair != end && pair->first == first && pair->second == second ? pair->amount : 0;
}

// Walks the line: calls `glyph(c, pen)` for each character the table holds, with the pen position
// in 1/64 pixel where the character starts, and returns the position after the last one.
template <class Visit>
std::int64_t Layout(std::int64_t pen, std::string_view text, Visit&& glyph) {
  int previous = -1;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!InFont(c)) continue;
    if (previous >= 0) pen += Kerning(static_cast<unsigned char>(previous), c);
    glyph(c, pen);
    pen += kFontAdvances[c - kFontFirst];
    previous = c;
  }
  return pen;
}

std::int64_t FloorDivide(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// (over * coverage + under * (255 - coverage)) / 255 per channel, rounded to the nearest: integers
// only, so every compiler, processor and the page blend alike.
std::uint32_t Blend(std::uint32_t over, std::uint32_t under, std::uint32_t coverage) {
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t a = (over >> shift) & 0xFFu;
    const std::uint32_t b = (under >> shift) & 0xFFu;
    out |= ((a * coverage + b * (255u - coverage) + 127u) / 255u) << shift;
  }
  return out;
}

void DrawGlyph(PixelBuffer& buffer, int x, int y, const FontGlyph& glyph, std::uint32_t argb) {
  const int left = x + glyph.left;
  const int top = y + glyph.top;
  // Only the part inside the buffer.
  const int from_column = std::max(0, -left);
  const int to_column = std::min<int>(glyph.width, buffer.width() - left);
  const int from_row = std::max(0, -top);
  const int to_row = std::min<int>(glyph.height, buffer.height() - top);
  for (int row = from_row; row < to_row; ++row) {
    const std::uint8_t* coverage = kFontCoverage + glyph.offset + row * glyph.width;
    std::uint32_t* line = buffer.scanline(top + row) + left;
    for (int column = from_column; column < to_column; ++column) {
      if (coverage[column] != 0) line[column] = Blend(argb, line[column], coverage[column]);
    }
  }
}

}  // namespace

int GreetingTextWidth(std::string_view text) {
  const std::int64_t end = Layout(0, text, [](unsigned char, std::int64_t) {});
  return static_cast<int>((end + 63) >> 6);
}

int DrawGreetingText(PixelBuffer& buffer, int x, int y, std::string_view text, std::uint32_t argb) {
  Layout(std::int64_t{x} * 64, text, [&](unsigned char c, std::int64_t pen) {
    // The glyph drawn at the nearest of the table's positions within a pixel, left of the buffer
    // too.
    constexpr std::int64_t kStep = 64 / kFontPhases;
    const std::int64_t steps = FloorDivide(pen + kStep / 2, kStep);
    const std::int64_t pixel = FloorDivide(steps, kFontPhases);
    const auto phase = static_cast<int>(steps - pixel * kFontPhases);
    if (pixel > buffer.width()) return;
    DrawGlyph(buffer, static_cast<int>(pixel), y,
              kFontGlyphs[(c - kFontFirst) * kFontPhases + phase], argb);
  });
  return kFontLineHeight;
}

int GreetingFont::DrawText(PixelBuffer& buffer, int x, int y, std::string_view text, double,
                           std::uint32_t argb) {
  return DrawGreetingText(buffer, x, y, text, argb);
}

}  // namespace card
