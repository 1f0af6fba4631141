#include "platform/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace card {
namespace {

// The height of a text line when nothing paints the text: the font size in pixels at 96 dots per
// inch with the usual 20 % of leading.
int PlainLineHeight(double points) {
  return static_cast<int>(std::lround(points * 96.0 / 72.0 * 1.2));
}

}  // namespace

Surface::Surface(int width, int height, TextRenderer* text_renderer)
    : pixels_(width, height, 0xFF000000u), text_renderer_(text_renderer) {}

void Surface::SetBackColor(std::int32_t packed) {
  back_color_ = packed;
  pixels_.Fill(ArgbFromPacked(packed));
  MarkRowsDrawn(0, height() - 1);
  if (observer_ != nullptr && width() > 0 && height() > 0) {
    observer_->Drawn(0, 0, width() - 1, height() - 1);
  }
}

void Surface::PSet(float x, float y, std::int32_t packed) {
  const std::int32_t px = DevicePixel(x);
  const std::int32_t py = DevicePixel(y);
  if (px < 0 || px >= width() || py < 0 || py >= height()) return;
  pixels_.scanline(py)[px] = ArgbFromPacked(packed);
  MarkRowsDrawn(py, py);
  if (observer_ != nullptr) observer_->Drawn(px, py, px, py);
}

std::optional<std::int32_t> Surface::Point(float x, float y) const {
  const std::int32_t px = DevicePixel(x);
  const std::int32_t py = DevicePixel(y);
  if (px < 0 || px >= width() || py < 0 || py >= height()) return std::nullopt;
  return PackedFromArgb(pixels_.at(px, py));
}

void Surface::PrintWith(TextRenderer* renderer, std::string_view text) {
  const std::int32_t x = DevicePixel(current_x_);
  const std::int32_t y = DevicePixel(current_y_);
  const int line_height = renderer != nullptr ? renderer->DrawText(pixels_, x, y, text, font_size_,
                                                                   ArgbFromPacked(fore_color_))
                                              : PlainLineHeight(font_size_);
  MarkRowsDrawn(y, static_cast<std::int32_t>(
                       std::min<std::int64_t>(std::int64_t{y} + line_height - 1, INT32_MAX)));

  if (observer_ != nullptr) {
    // The text may run to the right edge; the renderer does not say how far.
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = width() - 1;
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{y} + line_height - 1, height() - 1);
    if (left <= right && top <= bottom) {
      observer_->Drawn(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                       static_cast<int>(bottom));
    }
  }

  current_x_ = 0.0f;
  current_y_ += static_cast<float>(line_height);
}

Surface::Rows Surface::TakeDrawnRows() {
  const Rows rows{std::max(drawn_top_, 0), std::min(drawn_bottom_, height() - 1)};
  drawn_top_ = INT32_MAX;
  drawn_bottom_ = INT32_MIN;
  return rows;
}

void Surface::NotifyLine(std::int32_t px1, std::int32_t py1, std::int32_t px2, std::int32_t py2) {
  // The bounding box of the end points holds every pixel of the line.
  const int left = std::max(std::min(px1, px2), 0);
  const int top = std::max(std::min(py1, py2), 0);
  const int right = std::min(std::max(px1, px2), width() - 1);
  const int bottom = std::min(std::max(py1, py2), height() - 1);
  if (left <= right && top <= bottom) observer_->Drawn(left, top, right, bottom);
}

}  // namespace card
