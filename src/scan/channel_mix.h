#pragma once

#include <cmath>

#include "numeric/card_maths.h"
#include "scan/scan_settings.h"

namespace card {

// `r6` is read by the third colour index formula but never assigned: it reads as 0 for ever.
inline constexpr double kR6 = 0.0;

// The sines and cosines of one position that the channel mix and the colour index read.
struct PositionSines {
  double sin_r, cos_r, sin_fit;
};

// Turns the shape value into three non-negative channel values. A channel whose product is not
// finite keeps its previous value; the other channels are still computed.
inline void ChannelMix(const ScanSettings& s, const PositionSines& t, PixelCarry& c) {
  const double ba = c.ba;
  double re, gr, bl;
  switch (s.mix_variant) {
    default:  // every selector other than 2 and 3
    case 1:
      re = ba * s.fak1;
      gr = ba * s.fak2;
      bl = ba * s.fak3;
      break;
    case 2:
      re = ba * (t.sin_r + 10);
      gr = ba * (t.cos_r + 10);
      bl = ba * (t.sin_fit + 10);
      break;
    case 3:
      re = ba * (s.fak1 + t.sin_r);
      gr = ba * (s.fak2 + t.cos_r);
      bl = ba * (s.fak3 + t.sin_fit);
      break;
  }
  KeepIfFinite(c.re, re);
  KeepIfFinite(c.gr, gr);
  KeepIfFinite(c.bl, bl);
  c.re = std::fabs(c.re);
  c.gr = std::fabs(c.gr);
  c.bl = std::fabs(c.bl);
}

// Folds the three channels into the colour index `barva`; a formula that raises leaves it as it
// was.
inline void ColourIndex(const ScanSettings& s, const PixelInputs& p, const PositionSines& t,
                        PixelCarry& c) {
  double value;
  switch (s.index_variant) {
    default:  // every selector other than 2, 3 and 4
    case 1:
      value = c.re + c.gr + c.bl;
      break;
    case 2:
      value = c.re + c.gr + c.bl * (t.sin_r + 1);
      break;
    case 3:
      // The last term is always zero, yet its quotient is evaluated: a zero `fit` raises too.
      if (p.r == 0.0 || p.fit == 0.0) return;
      value = c.re / p.r + c.gr / std::sqrt(p.r) + (c.bl / p.fit) * kR6;
      break;
    case 4:
      value = c.re * t.sin_fit + c.gr * t.sin_r + c.bl * t.cos_r;
      break;
  }
  KeepIfFinite(c.barva, value);
}

}  // namespace card
