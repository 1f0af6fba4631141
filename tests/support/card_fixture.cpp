#include "support/card_fixture.h"

namespace card::testing {

int RecordingTextRenderer::DrawText(PixelBuffer& buffer, int x, int y, std::string_view text,
                                    double point_size, std::uint32_t argb) {
  calls.push_back(Call{&buffer, x, y, std::string(text), point_size, argb});
  for (int row = y; row < y + kMarkSize; ++row) {
    for (int column = x; column < x + kMarkSize; ++column) {
      if (row >= 0 && row < buffer.height() && column >= 0 && column < buffer.width()) {
        buffer.scanline(row)[column] = argb;
      }
    }
  }
  return kLineHeight;
}

std::vector<float> ForcedDraws(int tip1, int tip2, int tip3) {
  std::vector<float> draws = {0.31f, 0.72f, 0.18f, 0.55f, 0.93f, 0.27f, 0.64f, 0.05f, 0.48f, 0.81f,
                              0.36f, 0.0f,  0.0f,  0.0f,  0.42f, 0.13f, 0.58f, 0.77f, 0.21f, 0.66f};
  draws[11] = (static_cast<float>(tip1) - 0.5f) / 15.0f;
  draws[12] = (static_cast<float>(tip2) - 0.5f) / 3.0f;
  draws[13] = (static_cast<float>(tip3) - 0.5f) / 4.0f;
  return draws;
}

void SetGeometry(Form1& form, int last_column, int last_row) {
  form.sir = Value::Integer(static_cast<std::int16_t>(last_column));
  form.vis = Value::Integer(static_cast<std::int16_t>(last_row));
  const Value width_units = Value::Integer(12);
  const Value height_units = Value::Integer(9);
  form.polx = width_units / Value::Integer(2);
  form.poly = height_units / Value::Integer(2);
  // Pixels per unit stay those of the full picture, so a small scan covers its top left corner.
  form.dx = Value::Integer(700) / width_units;
  form.dy = Value::Integer(525) / height_units;
}

std::uint64_t Checksum(const PixelBuffer& pixels) {
  std::uint64_t hash = 14695981039346656037ull;
  const std::size_t count = static_cast<std::size_t>(pixels.width()) * pixels.height();
  for (std::size_t k = 0; k < count; ++k) {
    std::uint32_t p = pixels.data()[k] & 0xFFFFFFu;
    for (int b = 0; b < 3; ++b) {
      hash ^= p & 0xFFu;
      hash *= 1099511628211ull;
      p >>= 8;
    }
  }
  return hash;
}

}  // namespace card::testing
