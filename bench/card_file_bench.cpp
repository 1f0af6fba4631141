// Speed of a card's file and of a batch's record: a card encoded as PNG and BMP at the print
// scales, and manifest rows written as a batch writes them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "bench/card_setup.h"
#include "renderer/batch_record.h"
#include "renderer/card_files.h"

namespace card::bench {
namespace {

// The bench card drawn whole, once.
const PixelBuffer& BenchPicture() {
  static const PixelBuffer picture = [] {
    BenchCard card;
    card.form.ScanWholeCards(1);
    card.form.ScanImage();
    return card.memory.picture1.pixels();
  }();
  return picture;
}

// A card's file at --scale N: the time goes to filtering and deflating (PNG) or copying (BMP) the
// larger picture.
void BM_CardFile(benchmark::State& state, const char* path) {
  const PixelBuffer& picture = BenchPicture();
  const auto scale = static_cast<int>(state.range(0));
  const CardFileDetails details{scale, 300, "srecno novo leto", "srecno novo leto, I wish you"};
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto file = EncodeCardImage(picture, path, details);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["pixels/s"] = benchmark::Counter(700.0 * 525.0 * scale * scale,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(BM_CardFile, png, "card.png")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CardFile, bmp, "card.bmp")
    ->Arg(1)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond);

// Rows of a CSV manifest as two jobs hand them in: every pair done in the wrong order, so half the
// rows wait for the one above. Each row is one write to a temporary file.
void BM_ManifestRows(benchmark::State& state) {
  char folder[] = "/tmp/card-bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = std::string(folder) + "/manifest.csv";
  std::size_t rows = 0;
  for (auto _ : state) {
    BatchRecord record(path);
    for (std::size_t row = 0; row < 1000; row += 2) {
      record.Add(
          row + 1,
          {static_cast<int>(row + 2), "ana marija", "ana-marija-2.png", LineOutcome::kMade, {}});
      record.Add(row, {static_cast<int>(row + 1), "ana", "ana.png", LineOutcome::kMade, {}});
    }
    record.Commit();
    rows += 1000;
  }
  ::unlink(path.c_str());
  ::rmdir(folder);
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ManifestRows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace card::bench
