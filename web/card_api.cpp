// What the page's worker calls: the name check, and one card at a time, started for a name and
// scanned a few rows per call, its rows handed out as they are finished, in bands for the page to
// paint; and the frames of a card's film, as the renderer's videos have them, for the browser to
// encode. The core runs the window's own card sequence, greeting included; the page only shows the
// pixels.
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
#include "video/film_plan.h"
#include "video/film_planes.h"
#include "video/growth_frames.h"

namespace {

struct WebCard {
  explicit WebCard(card::LocalTime started) {
    memory.clock.Set(started);
    form.PaintFinishedRowsOnly();  // rows show when final, each pixel painted once
  }
  card::MemoryPlatform memory;  // the greeting has the core's own typeface
  card::Generator generator;
  card::Form1 form{memory.platform(), generator};
  // At start-up the window skips the statements of its card that raise: so does the page.
  card::CardSequence sequence{form, card::CardSequence::Errors::kSkip};
};

std::unique_ptr<WebCard> current;
std::vector<std::uint8_t> rgba(static_cast<std::size_t>(card::kPictureWidth) *
                                   card::kPictureHeight * 4,
                               0);
std::string name;           // the name the worker wrote, as UTF-8 bytes; it may hold NULs
card::NameRefusal refusal;  // why the last checked name was refused
int band_top = 0;
int band_rows = 0;
std::string text;  // the last string handed out; valid until the next call that returns one

// The film being made: its frames, and the last one as the browser's video encoder takes it. Both
// exist only while a film is made.
std::unique_ptr<card::GrowthFrames> film;
std::unique_ptr<card::FilmPlanes> film_planes;
bool film_key = false;

}  // namespace

extern "C" {

// Room for a name of `bytes` UTF-8 bytes, which the worker writes there before it calls
// card_check_name or card_start. The name is the whole of it: a NUL is one more character.
EMSCRIPTEN_KEEPALIVE char* card_name_buffer(int bytes) {
  name.assign(static_cast<std::size_t>(std::max(bytes, 0)), '\0');
  return name.data();
}

// "" when the name is accepted, otherwise why not (the renderer's wording); card_refused_* then
// say what the page puts in plain words.
EMSCRIPTEN_KEEPALIVE const char* card_check_name() {
  const auto checked = card::CheckName(name);
  refusal = checked.value_or(card::NameRefusal{});
  text = checked ? card::DescribeRefusal(*checked) : std::string();
  return text.c_str();
}

// The last refused name's length in characters, the 1-based position of its first refused
// character (0 when it was refused for its length) and that character's code point.
EMSCRIPTEN_KEEPALIVE int card_refused_length() {
  return refusal.length;
}
EMSCRIPTEN_KEEPALIVE int card_refused_position() {
  return refusal.position;
}
EMSCRIPTEN_KEEPALIVE int card_refused_character() {
  return static_cast<int>(refusal.character);
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

// Starts the card of the name in the buffer when it is accepted, abandoning any card still
// growing; the local time names its file. Returns 0 for a refused name, and then the previous card
// stays.
EMSCRIPTEN_KEEPALIVE int card_start(int year, int month, int day, int hour, int minute,
                                    int second) {
  if (card::CheckName(name)) return 0;
  current = std::make_unique<WebCard>(card::LocalTime{year, month, day, hour, minute, second});
  WebCard& c = *current;
  c.memory.dialog.Answer(name);
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

// The rows drawn since the last band, as RGBA bytes for the canvas, top to bottom;
// card_band_top and card_band_rows say where they go. The picture keeps count of them itself.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* card_band() {
  band_top = 0;
  band_rows = 0;
  if (!current) return rgba.data();
  card::Surface& surface = current->memory.picture1;
  const card::Surface::Rows drawn = surface.TakeDrawnRows();
  if (drawn.top > drawn.bottom) return rgba.data();
  const card::PixelBuffer& picture = surface.pixels();
  const auto width = static_cast<std::size_t>(picture.width());
  const std::uint32_t* from = picture.scanline(drawn.top);
  const std::size_t count = width * static_cast<std::size_t>(drawn.bottom - drawn.top + 1);
  std::uint8_t* to = rgba.data();
  for (std::size_t k = 0; k < count; ++k, to += 4) {
    const std::uint32_t argb = from[k];
    to[0] = static_cast<std::uint8_t>(argb >> 16);
    to[1] = static_cast<std::uint8_t>(argb >> 8);
    to[2] = static_cast<std::uint8_t>(argb);
    to[3] = static_cast<std::uint8_t>(argb >> 24);
  }
  band_top = drawn.top;
  band_rows = drawn.bottom - drawn.top + 1;
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

// The line printed over the finished card, as text (the picture's pixels already hold it).
EMSCRIPTEN_KEEPALIVE const char* card_greeting() {
  text = current ? card::GreetingLine(current->form.t) : std::string();
  return text.c_str();
}

// The film of the card of the name in the buffer, as the renderer's --video makes it: the in-order
// scan as the window paints it, rows growing evenly, then the greeting and the finished card held
// (video/film_plan.h). Returns its number of frames, or 0 for a refused name. The local time is the
// card's, as card_start had it.
EMSCRIPTEN_KEEPALIVE int card_film_start(int year, int month, int day, int hour, int minute,
                                         int second) {
  film.reset();
  film_planes.reset();
  if (card::CheckName(name)) return 0;
  card::FilmedCard filmed;
  filmed.name = name;
  filmed.started = card::LocalTime{year, month, day, hour, minute, second};
  film = std::make_unique<card::GrowthFrames>(filmed);
  film_planes = std::make_unique<card::FilmPlanes>();
  return card::kFilmFrames;
}

// The film's next frame as I420 planes, card_film_width() x card_film_height() (film_planes.h),
// valid until the next call; nullptr after the last frame, and the film is let go.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* card_film_next() {
  if (!film) return nullptr;
  const card::FilmFrame frame = film->Next();
  if (frame.picture == nullptr) {
    film.reset();
    film_planes.reset();
    return nullptr;
  }
  film_planes->Convert(frame);
  film_key = frame.key;
  return film_planes->data();
}

// 1 when the last frame given is one a player can start at: the finished card.
EMSCRIPTEN_KEEPALIVE int card_film_key() {
  return film_key ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int card_film_width() {
  return card::kFilmWidth;
}
EMSCRIPTEN_KEEPALIVE int card_film_height() {
  return card::kFilmHeight;
}
EMSCRIPTEN_KEEPALIVE int card_film_frames_per_second() {
  return card::kFilmFramesPerSecond;
}

}  // extern "C"
