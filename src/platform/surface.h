#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "raster/line_raster.h"
#include "raster/pixel_buffer.h"

namespace card {

// Paints text onto a buffer: the greeting's own typeface, the window's font for the window's own
// text, or a simple stand-in in unit tests.
class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  // Paints only the glyphs of `text` with their top left corner at (x, y); never wraps; whatever
  // falls outside the buffer is cut off. Returns the height of one line in pixels.
  virtual int DrawText(PixelBuffer& buffer, int x, int y, std::string_view text, double point_size,
                       std::uint32_t argb) = 0;
};

// Told when something was drawn, so a surface on screen can show it at once.
class SurfaceObserver {
 public:
  virtual ~SurfaceObserver() = default;
  virtual void Drawn(int left, int top, int right, int bottom) = 0;  // inclusive bounds
};

// A drawing surface with a persistent image: the two picture boxes and the window's own drawing.
// The whole area is drawable (no border). Colours are packed colours (red + 256 * green +
// 65536 * blue); coordinates are Singles in pixels, origin top left, y downwards.
class Surface {
 public:
  Surface(int width, int height, TextRenderer* text_renderer = nullptr);

  PixelBuffer& pixels() { return pixels_; }
  const PixelBuffer& pixels() const { return pixels_; }
  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }

  // Setting the background colour erases everything drawn or printed.
  void SetBackColor(std::int32_t packed);
  std::int32_t back_color() const { return back_color_; }
  // Erases the drawing to the background colour and moves the text position home.
  void Cls() {
    SetBackColor(back_color_);
    current_x_ = 0.0f;
    current_y_ = 0.0f;
  }

  void Line(float x1, float y1, float x2, float y2, std::int32_t packed) {
    const std::int32_t px1 = DevicePixel(x1), py1 = DevicePixel(y1);
    const std::int32_t px2 = DevicePixel(x2), py2 = DevicePixel(y2);
    DrawLine(pixels_, px1, py1, px2, py2, ArgbFromPacked(packed));
    MarkRowsDrawn(std::min(py1, py2), std::max(py1, py2));
    if (observer_ != nullptr) NotifyLine(px1, py1, px2, py2);
  }
  // Two lines of one colour, the picture the same as from Line for each in turn; a pair where the
  // second is the first turned half a turn about a point is painted faster (DrawLinePair).
  void LinePair(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                std::int32_t packed) {
    const LineEnds first{DevicePixel(x1), DevicePixel(y1), DevicePixel(x2), DevicePixel(y2)};
    const LineEnds second{DevicePixel(x3), DevicePixel(y3), DevicePixel(x4), DevicePixel(y4)};
    DrawLinePair(pixels_, ClipRect{0, 0, width() - 1, height() - 1}, first, second,
                 ArgbFromPacked(packed));
    for (const LineEnds& l : {first, second}) {
      MarkRowsDrawn(std::min(l.y1, l.y2), std::max(l.y1, l.y2));
      if (observer_ != nullptr) NotifyLine(l.x1, l.y1, l.x2, l.y2);
    }
  }
  void PSet(float x, float y, std::int32_t packed);
  // The packed colour at (x, y); no colour outside the surface.
  std::optional<std::int32_t> Point(float x, float y) const;

  // Text output at the current text position, in the current font size and text colour.
  void SetFontSize(double points) { font_size_ = points; }
  double font_size() const { return font_size_; }
  void SetForeColor(std::int32_t packed) { fore_color_ = packed; }
  std::int32_t fore_color() const { return fore_color_; }
  void SetCurrentX(float x) { current_x_ = x; }
  void SetCurrentY(float y) { current_y_ = y; }
  float current_x() const { return current_x_; }
  float current_y() const { return current_y_; }
  // Draws the texts one directly after another and ends the line: the text position moves to the
  // left edge and one line down.
  void Print(std::string_view text) { PrintWith(text_renderer_, text); }
  // The same with another typeface than the surface's own.
  void Print(std::string_view text, TextRenderer& renderer) { PrintWith(&renderer, text); }

  void set_observer(SurfaceObserver* observer) { observer_ = observer; }

  // The rows drawn on since the last call, so that a front end that copies the picture elsewhere
  // (the web page) copies only those. Empty (top > bottom) when nothing was drawn.
  struct Rows {
    int top, bottom;
  };
  Rows TakeDrawnRows();
  // For pixels written directly, past the surface's own drawing: rows top to bottom may differ.
  void MarkRowsDrawn(std::int32_t top, std::int32_t bottom) {
    drawn_top_ = std::min(drawn_top_, top);
    drawn_bottom_ = std::max(drawn_bottom_, bottom);
  }

 private:
  void PrintWith(TextRenderer* renderer, std::string_view text);
  void NotifyLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

  PixelBuffer pixels_;
  TextRenderer* text_renderer_;
  SurfaceObserver* observer_ = nullptr;
  std::int32_t back_color_ = 0;
  std::int32_t fore_color_ = 0;
  double font_size_ = 9.0;
  float current_x_ = 0.0f;
  float current_y_ = 0.0f;
  std::int32_t drawn_top_ = 0;  // rows drawn on since TakeDrawnRows, possibly outside the surface
  std::int32_t drawn_bottom_ = INT32_MAX;
};

}  // namespace card
