#pragma once

#include <cstdint>

namespace card {

// The most a picture is scaled for print, and the resolutions a file may claim.
inline constexpr int kMaxPrintScale = 8;
inline constexpr int kMaxDotsPerInch = 10000;

// Pixels per metre, as PNG and BMP store a resolution, rounded to the nearest: 300 dpi is 11811.
constexpr std::uint32_t PixelsPerMetre(int dots_per_inch) {
  return (static_cast<std::uint32_t>(dots_per_inch) * 10000u + 127u) / 254u;
}
static_assert(PixelsPerMetre(72) == 2835 && PixelsPerMetre(300) == 11811);

}  // namespace card
