// What the page and its worker call: one card at a time, started for a name and scanned a few rows
// per call, its changed rows handed out in bands for the page to paint. The core runs the window's
// own card sequence; the page only shows the pixels and prints the greeting with the browser's
// text.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "form/card_sequence.h"
#include "form/form1.h"
#include "overlay/greeting.h"
#include "platform/memory/memory_platform.h"
#include "seed/name_rules.h"

namespace {

struct WebCard {
  explicit WebCard(card::LocalTime started) { memory.clock.Set(started); }
  card::MemoryPlatform memory{nullptr};  // no text renderer: the page prints the greeting
  card::Generator generator;
  card::Form1 form{memory.platform(), generator};
  // At start-up the window skips the statements of its card that raise: so does the page.
  card::CardSequence sequence{form, card::CardSequence::Errors::kSkip};
};

std::unique_ptr<WebCard> current;
std::vector<std::uint8_t> rgba(static_cast<std::size_t>(card::kPictureWidth) *
                                   card::kPictureHeight * 4,
                               0);
// The picture as last handed out, to find the rows that changed since.
std::vector<std::uint32_t> shown(static_cast<std::size_t>(card::kPictureWidth) *
                                 card::kPictureHeight);
int band_top = 0;
int band_rows = 0;
std::string text;  // the last string handed out; valid until the next call that returns one

}  // namespace

extern "C" {

// "" when the name is accepted, otherwise why not (the renderer's wording).
EMSCRIPTEN_KEEPALIVE const char* card_check_name(const char* utf8_name) {
  const auto refusal = card::CheckName(utf8_name);
  text = refusal ? card::DescribeRefusal(*refusal) : std::string();
  return text.c_str();
}

// The name prompt's two lines (1 or 2), as the window's dialog shows them.
EMSCRIPTEN_KEEPALIVE const char* card_prompt(int line) {
  card::MemoryPlatform memory{nullptr};
  card::Generator generator;
  card::Form1 form{memory.platform(), generator};
  form.StartUp();
  text = line == 1 ? form.t1 : line == 2 ? form.t2 : std::string();
  return text.c_str();
}

// Starts the card of an accepted name, abandoning any card still growing; the local time names
// its file. Returns 0 for a refused name, and then the previous card stays.
EMSCRIPTEN_KEEPALIVE int card_start(const char* utf8_name, int year, int month, int day, int hour,
                                    int minute, int second) {
  if (card::CheckName(utf8_name)) return 0;
  current = std::make_unique<WebCard>(card::LocalTime{year, month, day, hour, minute, second});
  WebCard& c = *current;
  c.memory.dialog.Answer(utf8_name);
  c.form.StartUp();
  c.sequence.Start();
  return 1;
}

// Paints up to `rows` more rows; returns 1 while rows remain.
EMSCRIPTEN_KEEPALIVE int card_advance(int rows) {
  if (!current || !current->sequence.rendering()) return 0;
  WebCard& c = *current;
  if (c.sequence.ScanRows(rows)) return 1;
  c.sequence.Finish();
  return 0;
}

// 1 when the card was scanned to its last row and takes its greeting.
EMSCRIPTEN_KEEPALIVE int card_finished() {
  return current && current->sequence.finished() ? 1 : 0;
}

// The rows changed since the last band (all rows when `whole`), as RGBA bytes for the canvas,
// top to bottom; card_band_top and card_band_rows say where they go. Strokes reach past their own
// row, so the band is found by comparing with the rows already handed out.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* card_band(int whole) {
  band_top = 0;
  band_rows = 0;
  if (!current) return rgba.data();
  const card::PixelBuffer& picture = current->memory.picture1.pixels();
  const std::uint32_t* from = picture.data();
  const int width = picture.width();
  const int height = picture.height();
  const auto row_at = [&](int y) { return static_cast<std::size_t>(y) * width; };
  // No early exit: the whole row is compared in SIMD, far faster than memcmp's bytes here.
  const auto same = [&](int y) {
    std::uint32_t differ = 0;
    const std::uint32_t* a = from + row_at(y);
    const std::uint32_t* b = shown.data() + row_at(y);
    for (int k = 0; k < width; ++k) differ |= a[k] ^ b[k];
    return differ == 0;
  };
  int top = 0;
  int end = height;
  if (!whole) {
    while (top < end && same(top)) ++top;
    while (end > top && same(end - 1)) --end;
  }
  std::copy(from + row_at(top), from + row_at(end), shown.begin() + row_at(top));
  std::uint8_t* to = rgba.data();
  for (std::size_t k = row_at(top); k < row_at(end); ++k, to += 4) {
    const std::uint32_t argb = from[k];
    to[0] = static_cast<std::uint8_t>(argb >> 16);
    to[1] = static_cast<std::uint8_t>(argb >> 8);
    to[2] = static_cast<std::uint8_t>(argb);
    to[3] = static_cast<std::uint8_t>(argb >> 24);
  }
  band_top = top;
  band_rows = end - top;
  return rgba.data();
}

EMSCRIPTEN_KEEPALIVE int card_band_top() {
  return band_top;
}
EMSCRIPTEN_KEEPALIVE int card_band_rows() {
  return band_rows;
}

EMSCRIPTEN_KEEPALIVE int card_width() {
  return card::kPictureWidth;
}
EMSCRIPTEN_KEEPALIVE int card_height() {
  return card::kPictureHeight;
}

// The file name stem the window would save the card under, e.g. T20261231235958.
EMSCRIPTEN_KEEPALIVE const char* card_stem() {
  text = current ? current->form.imeslike : std::string();
  return text.c_str();
}

// The line printed over the finished card.
EMSCRIPTEN_KEEPALIVE const char* card_greeting() {
  text = current ? card::GreetingLine(current->form.t) : std::string();
  return text.c_str();
}

}  // extern "C"
