// Speed of one card: the whole card as the window draws it, the per-position math alone, the
// strokes alone, and the film of its growth.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/card_setup.h"
#include "raster/line_raster.h"
#include "raster/line_trace.h"
#include "scan/fast_scan.h"
#include "scan/scan_lanes.h"
#include "scan/scan_position.h"
#include "scan/scan_state.h"
#include "video/card_film.h"

namespace card::bench {
namespace {

// The whole card as the window makes it: clear, 526 rows of math and strokes, one thread.
void BM_CardWindow(benchmark::State& state) {
  BenchCard card;
  for (auto _ : state) {
    card.ResetScan();
    card.form.ScanImage();
    benchmark::DoNotOptimize(card.memory.picture1.pixels().data());
  }
  state.counters["positions/s"] =
      benchmark::Counter(368726.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CardWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

std::vector<PositionStrokes> ComputeAll(const ScanSettings& settings, PixelCarry carry) {
  std::vector<PositionStrokes> all;
  all.reserve(701 * 526);
  PixelInputs p;
  for (int j = 0; j <= 525; ++j) {
    for (int i = 0; i <= 700; ++i) all.push_back(ScanPosition(settings, carry, i, j, p));
  }
  return all;
}

// Everything a position hands to the drawing, folded into one number so that no part of the
// math can be left out by the compiler.
std::int64_t Fold(const PositionStrokes& s) {
  return s.colour + DevicePixel(s.x1) + DevicePixel(s.y1) + DevicePixel(s.x2) + DevicePixel(s.y2) +
         DevicePixel(s.x3) + DevicePixel(s.y3) + DevicePixel(s.x4) + DevicePixel(s.y4);
}

// What a scan of the bench card reads: its settings and the tables they point to.
struct ScanInputs {
  explicit ScanInputs(const Form1& form)
      : table(Tabulate(form.palette)), settings(ScanSettingsOf(form, table)) {
    column_sines = ColumnSines(settings, 700);
    settings.column_sines = column_sines.data();
  }
  PaletteTable table;
  ScanSettings settings;
  std::vector<double> column_sines;
};

// The whole card at once, as the headless renderer makes it, on 1 and 2 threads.
void BM_CardFast(benchmark::State& state) {
  BenchCard card;
  card.form.ScanWholeCards(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    card.ResetScan();
    card.form.ScanImage();
    benchmark::DoNotOptimize(card.memory.picture1.pixels().data());
  }
  // The work of the reverse painter: every pixel a stroke was traced over, open or not.
  const ScanInputs inputs(card.form);
  PixelCarry carry = CarryOf(card.form);
  carry.fi1 = 0;
  state.counters["traced_pixels"] =
      static_cast<double>(FastScan(inputs.settings, carry, 700, 525, card.memory.picture1.pixels(),
                                   static_cast<int>(state.range(0)))
                              .traced_pixels);
}
BENCHMARK(BM_CardFast)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The per-position math without drawing, in blocks as the scans compute it.
void BM_CardMath(benchmark::State& state) {
  BenchCard card;
  const ScanInputs inputs(card.form);
  const ScanSettings& settings = inputs.settings;
  for (auto _ : state) {
    PixelCarry carry = CarryOf(card.form);
    carry.fi1 = 0;
    PixelInputs p;
    PositionStrokes block[kBatchSize];
    std::int64_t sum = 0;
    for (int j = 0; j <= 525; ++j) {
      for (int i = 0; i <= 700; i += kBatchSize) {
        const int count = std::min(kBatchSize, 701 - i);
        ScanBatch(settings, carry, i, j, count, block, p);
        for (int k = 0; k < count; ++k) sum += Fold(block[k]);
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_CardMath)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Counts the pixels a line covers inside the picture, by the painters' own line rule.
struct PixelCounter {
  std::int64_t pixels = 0;
  void Row(int, int from, int to) { pixels += to - from + 1; }
  void Column(int, int from, int to) { pixels += to - from + 1; }
  auto Steps(const line_trace::LineSteps& steps) {
    pixels += steps.pixels;
    return [](std::int64_t) {};
  }
};

// How many pixels the strokes paint inside the picture, each stroke's counted once.
double PaintedPixels(const std::vector<PositionStrokes>& strokes, const PixelBuffer& picture) {
  PixelCounter counter;
  const ClipRect whole{0, 0, picture.width() - 1, picture.height() - 1};
  const auto line = [&](float x1, float y1, float x2, float y2) {
    line_trace::TraceLine(picture, whole, DevicePixel(x1), DevicePixel(y1), DevicePixel(x2),
                          DevicePixel(y2), counter);
  };
  for (const PositionStrokes& s : strokes) {
    if (!s.drawn) continue;
    line(s.x1, s.y1, s.x2, s.y2);
    line(s.x3, s.y3, s.x4, s.y4);
  }
  return static_cast<double>(counter.pixels);
}

// The 737,452 strokes alone, drawn in scan order into the picture.
void BM_CardStrokes(benchmark::State& state) {
  BenchCard card;
  const ScanInputs inputs(card.form);
  PixelCarry carry = CarryOf(card.form);
  carry.fi1 = 0;
  const std::vector<PositionStrokes> strokes = ComputeAll(inputs.settings, carry);
  Surface& picture = card.memory.picture1;
  for (auto _ : state) {
    for (const PositionStrokes& s : strokes) {
      if (!s.drawn) continue;
      picture.LinePair(s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4, s.colour);
    }
    benchmark::DoNotOptimize(picture.pixels().data());
  }
  state.counters["pixels/s"] = benchmark::Counter(PaintedPixels(strokes, picture.pixels()),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CardStrokes)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The film of the card's growth: the window's in-order scan stopped at each of its 150 frames,
// each frame converted and encoded, the MP4 file made in memory; one thread throughout. Compare
// with BM_CardWindow, the same scan without the film.
void BM_CardVideo(benchmark::State& state) {
  BenchCard card;
  const FilmedCard filmed{card.form.t, card.generator.draws_since_randomize(), "", "", {}};
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = MakeCardFilm(filmed, 1).mp4.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_CardVideo)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace card::bench
