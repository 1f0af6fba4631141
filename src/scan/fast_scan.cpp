#include "scan/fast_scan.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

#include "raster/line_raster.h"
#include "raster/under_painter.h"
#include "scan/scan_lanes.h"
#include "scan/scan_position.h"
#include "services/worker_threads.h"

namespace card {
namespace {

// The two strokes of one position in device pixels, relative to the position (a stroke reaches at
// most 101 pixels from it); `argb` is 0 (no alpha) when the position draws nothing.
struct StrokeRecord {
  std::int16_t x1, y1, x2, y2;  // first stroke
  std::int16_t x3, y3, x4, y4;  // second stroke, drawn after the first
  std::uint32_t argb;
};

StrokeRecord Record(const PositionStrokes& s, int i, int j) {
  const auto dx = [i](float x) { return static_cast<std::int16_t>(DevicePixel(x) - i); };
  const auto dy = [j](float y) { return static_cast<std::int16_t>(DevicePixel(y) - j); };
  return StrokeRecord{dx(s.x1), dy(s.y1), dx(s.x2),
                      dy(s.y2), dx(s.x3), dy(s.y3),
                      dx(s.x4), dy(s.y4), s.drawn ? ArgbFromPacked(s.colour) : 0u};
}

// The records of the last card made on this thread, kept for the next one: a card's records
// take megabytes, and fresh pages cost more than the drawing that fills them. A scan takes them
// for as long as it lives and gives them back when it goes, so two scans alive on one thread (a
// growing card and a whole one) never share them: the second finds none kept and makes its own.
std::vector<StrokeRecord>& SpareRecordsOfThisThread() {
  thread_local std::vector<StrokeRecord> spare;
  return spare;
}

std::vector<StrokeRecord> TakeRecords(std::size_t count) {
  std::vector<StrokeRecord> records = std::exchange(SpareRecordsOfThisThread(), {});
  records.resize(count);
  return records;
}

bool SameBits(const PixelCarry& a, const PixelCarry& b) {
  return std::memcmp(&a, &b, sizeof(PixelCarry)) == 0;
}

// How many positions of a run keep their carried state for the later agreement check. The state
// of a run almost always stops depending on its start after the first position.
constexpr std::size_t kCheckedPositions = 512;

// One contiguous run of positions in scan order.
struct MathRun {
  std::size_t begin = 0, end = 0;
  PixelCarry start;                 // the true state for the first run, a guess for the others
  PixelCarry finish;                // the state after the run's last position
  std::vector<PixelCarry> checked;  // the state after each of the run's first positions
  PixelInputs last;
};

class Scan {
 public:
  Scan(const ScanSettings& settings, int last_column, int last_row)
      : settings_(settings),
        columns_(static_cast<std::size_t>(last_column) + 1),
        count_(columns_ * (static_cast<std::size_t>(last_row) + 1)),
        records_(TakeRecords(count_)) {}
  ~Scan() { SpareRecordsOfThisThread() = std::move(records_); }
  Scan(const Scan&) = delete;
  Scan& operator=(const Scan&) = delete;

  std::size_t count() const { return count_; }
  int columns() const { return static_cast<int>(columns_); }
  const std::vector<StrokeRecord>& records() const { return records_; }

  // Computes positions [from, to) starting from `carry`; with `checked`, keeps the state after
  // each of the first positions.
  PixelCarry Compute(std::size_t from, std::size_t to, PixelCarry carry, PixelInputs& last,
                     std::vector<PixelCarry>* checked) {
    std::size_t n = from;
    if (checked != nullptr) {
      // One position at a time while the state after each is kept.
      for (; n < to && checked->size() < kCheckedPositions; ++n) {
        const int i = static_cast<int>(n % columns_);
        const int j = static_cast<int>(n / columns_);
        records_[n] = Record(ScanPosition(settings_, carry, i, j, last), i, j);
        checked->push_back(carry);
      }
    }
    PositionStrokes block[kBatchSize];
    while (n < to) {
      const int i = static_cast<int>(n % columns_);
      const int j = static_cast<int>(n / columns_);
      const std::size_t row_left = columns_ - static_cast<std::size_t>(i);
      const int count = static_cast<int>(
          std::min<std::size_t>({static_cast<std::size_t>(kBatchSize), row_left, to - n}));
      ScanBatch(settings_, carry, i, j, count, block, last);
      for (int k = 0; k < count; ++k) {
        records_[n + static_cast<std::size_t>(k)] = Record(block[k], i + k, j);
      }
      n += static_cast<std::size_t>(count);
    }
    return carry;
  }

  // Computes a run again from the true state at its start until it agrees with what the run
  // computed from its guess; returns the true state after the run.
  PixelCarry Settle(MathRun& run, PixelCarry carry) {
    PixelInputs last;
    for (std::size_t k = 0; run.begin + k < run.end; ++k) {
      if (k < run.checked.size() && SameBits(carry, k == 0 ? run.start : run.checked[k - 1])) {
        return run.finish;  // from here on the run computed from the true state
      }
      if (k >= run.checked.size()) {
        // No agreement within the checked positions: compute the rest of the run plainly.
        run.finish = Compute(run.begin + k, run.end, carry, run.last, nullptr);
        return run.finish;
      }
      carry = Compute(run.begin + k, run.begin + k + 1, carry, last, nullptr);
    }
    run.finish = carry;
    return carry;
  }

 private:
  ScanSettings settings_;
  std::size_t columns_;
  std::size_t count_;
  std::vector<StrokeRecord> records_;
};

// The accumulated centre angle before position `n`: a running sum, added up exactly as the scan
// adds it, one step per position.
double AngleBefore(std::size_t n, double start, double step) {
  double angle = start;
  for (std::size_t k = 0; k < n; ++k) angle = angle + step;
  return angle;
}

// More bands than threads keep the threads busy to the end; each band more re-clips the strokes
// that cross into it.
constexpr int kBandsPerThread = 6;

// How far a stroke reaches from its position, in pixels either way: its radius, and one more for
// the rounding of its end points to Single and to a pixel.
constexpr int kStrokeReach = kStrokeRadius + 1;

// Whether a line between the two points can meet the rectangle.
bool MayMeet(const ClipRect& r, int x1, int y1, int x2, int y2) {
  return std::max(y1, y2) >= r.top && std::min(y1, y2) <= r.bottom && std::max(x1, x2) >= r.left &&
         std::min(x1, x2) <= r.right;
}

// Paints the strokes of the first `count` positions that touch rows [top, bottom] from the last
// to the first, writing only pixels that no later stroke has covered; what no stroke reaches keeps
// the cleared black. Only the rows of positions whose strokes can reach the band are visited, and
// the band stops as soon as it is full. Returns the pixels traced.
std::int64_t DrawBand(const std::vector<StrokeRecord>& records, std::size_t count, int columns,
                      PixelBuffer& picture, int top, int bottom) {
  if (count == 0) return 0;
  UnderPainter painter(picture, top, bottom);
  const auto per_row = static_cast<std::size_t>(columns);
  const int last_row = static_cast<int>((count - 1) / per_row);
  for (int j = std::min(last_row, bottom + kStrokeReach);
       j >= 0 && !painter.full() && j + kStrokeReach >= painter.open_rect().top; --j) {
    const StrokeRecord* row = records.data() + static_cast<std::size_t>(j) * per_row;
    const int last_column = j == last_row ? static_cast<int>((count - 1) % per_row) : columns - 1;
    for (int i = last_column; i >= 0; --i) {
      const StrokeRecord& r = row[i];
      if (r.argb == 0) continue;
      const ClipRect& open = painter.open_rect();
      // The second stroke was drawn after the first, so it lies on top.
      const int x3 = i + r.x3, y3 = j + r.y3, x4 = i + r.x4, y4 = j + r.y4;
      if (MayMeet(open, x3, y3, x4, y4)) painter.Line(x3, y3, x4, y4, r.argb);
      const int x1 = i + r.x1, y1 = j + r.y1, x2 = i + r.x2, y2 = j + r.y2;
      if (MayMeet(open, x1, y1, x2, y2)) painter.Line(x1, y1, x2, y2, r.argb);
    }
    painter.ShrinkToOpen();
  }
  return painter.traced_pixels();
}

}  // namespace

int DefaultThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, 64u));
}

FastScanResult FastScan(const ScanSettings& settings, const PixelCarry& carry, int last_column,
                        int last_row, PixelBuffer& picture, int threads) {
  FastScanResult result;
  result.carry = carry;
  picture.Fill(0xFF000000u);
  if (last_column < 0 || last_row < 0) {
    // Rows without columns still advance nothing: the row loop visits no position.
    return result;
  }
  Scan scan(settings, last_column, last_row);
  const std::size_t count = scan.count();
  threads = std::max(1, std::min<int>(threads, static_cast<int>(std::min<std::size_t>(count, 64))));

  // Math: one run of positions per thread.
  std::vector<MathRun> runs(static_cast<std::size_t>(threads));
  for (std::size_t t = 0; t < runs.size(); ++t) {
    runs[t].begin = count * t / runs.size();
    runs[t].end = count * (t + 1) / runs.size();
    runs[t].start = carry;
  }
  const auto compute_run = [&](MathRun& run, bool guessed) {
    run.start.fi1 = AngleBefore(run.begin, carry.fi1, settings.korakfi1);
    run.finish =
        scan.Compute(run.begin, run.end, run.start, run.last, guessed ? &run.checked : nullptr);
  };
  RunOnThreads(threads, [&](int t) { compute_run(runs[static_cast<std::size_t>(t)], t > 0); });
  PixelCarry state = runs[0].finish;
  for (std::size_t t = 1; t < runs.size(); ++t) state = scan.Settle(runs[t], state);
  result.carry = state;
  result.last = runs.back().last;
  result.visited = true;

  // Strokes: bands of rows handed out from the top down to whichever thread is free, so a thread
  // whose band filled early takes on more while the others finish theirs. The bands near the top
  // of the card take the most work and go first.
  const int height = picture.height();
  const int bands = std::min(kBandsPerThread * threads, height);
  std::vector<std::int64_t> traced(static_cast<std::size_t>(bands), 0);
  std::atomic<int> next_band{0};
  RunOnThreads(std::min(threads, bands), [&](int) {
    for (int b = next_band++; b < bands; b = next_band++) {
      traced[static_cast<std::size_t>(b)] =
          DrawBand(scan.records(), count, scan.columns(), picture, height * b / bands,
                   height * (b + 1) / bands - 1);
    }
  });
  for (const std::int64_t t : traced) result.traced_pixels += t;
  return result;
}

// The positions of a row reach no row this many or more above it.
constexpr int kRowsBelowUnreached = kStrokeReach + 1;
constexpr int kBandRows = 64;

struct GrowingFastScan::State {
  State(const ScanSettings& settings, const PixelCarry& start, int last_column, int last_row,
        PixelBuffer& canvas)
      : scan(settings, last_column, last_row), carry(start), picture(canvas) {}
  Scan scan;
  PixelCarry carry;
  PixelInputs last;
  PixelBuffer& picture;
  std::size_t computed = 0;  // positions computed, in scan order
  int painted = 0;           // rows of the picture painted
};

GrowingFastScan::GrowingFastScan(const ScanSettings& settings, const PixelCarry& carry,
                                 int last_column, int last_row, PixelBuffer& picture) {
  picture.Fill(0xFF000000u);
  if (last_column < 0 || last_row < 0) last_column = last_row = -1;  // no position at all
  state_ = std::make_unique<State>(settings, carry, last_column, last_row, picture);
}

GrowingFastScan::~GrowingFastScan() = default;

bool GrowingFastScan::Advance(int rows) {
  State& s = *state_;
  const std::size_t count = s.scan.count();
  const auto columns = static_cast<std::size_t>(s.scan.columns());
  const std::size_t end =
      std::min(count, s.computed + static_cast<std::size_t>(std::max(rows, 0)) * columns);
  s.carry = s.scan.Compute(s.computed, end, s.carry, s.last, nullptr);
  s.computed = end;
  const int height = s.picture.height();
  const int finished =
      end == count ? height
                   : std::clamp(static_cast<int>(end / columns) - kRowsBelowUnreached, 0, height);
  // Each band costs every stroke across it a set-up of its own: rows wait for a band of some size.
  if (finished >= std::min(s.painted + kBandRows, height) && finished > s.painted) {
    DrawBand(s.scan.records(), end, s.scan.columns(), s.picture, s.painted, finished - 1);
    s.painted = finished;
  }
  return s.computed < count;
}

int GrowingFastScan::painted_rows() const {
  return state_->painted;
}

FastScanResult GrowingFastScan::result() const {
  return FastScanResult{state_->carry, state_->last, state_->computed > 0};
}

}  // namespace card
