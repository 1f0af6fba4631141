#pragma once

#include <QString>

#include "platform/surface.h"

namespace card {

// Paints text with Qt into a surface's own pixels. The window and the headless renderer both use
// it, with the same font family and a fixed 96 dots per inch, so a greeting is the same pixels on
// screen, in saved files and in rendered cards.
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
