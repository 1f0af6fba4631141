#include "window/picture_scale.h"

#include <algorithm>
#include <cmath>

namespace card {
namespace {

// Logical steps tried to reach a device pixel's edge; every usual scaling (a multiple of 1/8)
// gets there within them.
constexpr int kMaxStep = 8;

bool Whole(qreal value) {
  return std::abs(value - std::round(value)) < 1e-6;
}

}  // namespace

QSize PictureScale::Shown(QSize pixels) const {
  return QSize(static_cast<int>(std::ceil(pixels.width() * logical() - 1e-6)),
               static_cast<int>(std::ceil(pixels.height() * logical() - 1e-6)));
}

int PictureScale::OnDevicePixel(int logical) const {
  for (int step = 0; step < kMaxStep; ++step) {
    if (Whole((logical + step) * device_ratio)) return logical + step;
  }
  return logical;
}

int PictureScale::LargestFactor(qreal device_ratio) {
  return std::max(1, static_cast<int>(std::floor(device_ratio + 0.5 + 1e-6)));
}

}  // namespace card
