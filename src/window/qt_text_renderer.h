#pragma once

#include <QString>

#include "platform/surface.h"

namespace card {

// Paints text with Qt into a surface's own pixels: the window's own text (the asterisk in its
// corner), in one font family at a fixed 96 dots per inch. The greeting has the core's typeface.
class QtTextRenderer final : public TextRenderer {
 public:
  QtTextRenderer();
  int DrawText(PixelBuffer& buffer, int x, int y, std::string_view text, double point_size,
               std::uint32_t argb) override;
  const QString& family() const { return family_; }

 private:
  QString family_;
};

}  // namespace card
