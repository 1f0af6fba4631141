#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "form/form1.h"
#include "platform/memory/memory_platform.h"

namespace card::testing {

// Stands in for the real font: records every print and paints one small solid block at the text
// position, so a test can see where, on which surface and in which colour the text went.
class RecordingTextRenderer final : public TextRenderer {
 public:
  struct Call {
    const PixelBuffer* buffer;
    int x, y;
    std::string text;
    double point_size;
    std::uint32_t argb;
  };
  static constexpr int kMarkSize = 3;  // the block is kMarkSize x kMarkSize pixels
  static constexpr int kLineHeight = 16;

  int DrawText(PixelBuffer& buffer, int x, int y, std::string_view text, double point_size,
               std::uint32_t argb) override;

  std::vector<Call> calls;
};

// A window object on the in-memory platform, ready to run its procedures.
struct TestCard {
  explicit TestCard(TextRenderer* text = nullptr)
      : memory(text), form(memory.platform(), generator) {}
  MemoryPlatform memory;
  Generator generator;
  Form1 form;
};

// Draws that force the formula selectors: draw 12 picks tip1, 13 tip2 and 14 tip3 (each draw is the
// middle of its selector's interval); the other draws are fixed ordinary values.
std::vector<float> ForcedDraws(int tip1, int tip2, int tip3);

// The geometry that start-up sets (700 x 525 picture, 12 x 9 units), or a smaller picture with the
// same coordinate window for quick cross-checks.
void SetGeometry(Form1& form, int last_column = 700, int last_row = 525);

// A 64-bit FNV-1a checksum of a picture's pixels.
std::uint64_t Checksum(const PixelBuffer& pixels);

}  // namespace card::testing
