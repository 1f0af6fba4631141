// The whole-card scan must give the row-by-row scan's pixels and carried state exactly, for every
// thread count, and so must the page's scan in steps, whose rows are final when first handed out.
#include "scan/fast_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "support/card_fixture.h"
#include "support/golden_cards.h"
#include "support/picture_compare.h"

namespace card::testing {
namespace {

struct Scanned {
  PixelBuffer picture{kPictureWidth, kPictureHeight};
  std::vector<Value> state;
};

// A negative thread count scans as the page does, in steps of that many rows, and returns the
// picture put together from the rows the surface said were drawn after each step.
// `between_steps` runs after each step of the page's scan.
Scanned ScanCard(const CardRequest& request, int whole_card_threads, int columns = 700,
                 int rows = 525, const std::function<void()>& between_steps = {}) {
  TestCard card;
  SetGeometry(card.form, columns, rows);
  card.memory.dialog.Answer(request.name);
  if (request.draws) card.generator.Replay(*request.draws);
  card.form.AskName();
  card.form.MakePalette();
  card.form.ChooseParameters();
  Surface& picture = card.memory.picture1;
  PixelBuffer shown(picture.width(), picture.height(), 0u);
  if (whole_card_threads > 0) card.form.ScanWholeCards(whole_card_threads);
  if (whole_card_threads < 0) {
    card.form.PaintFinishedRowsOnly();
    card.form.BeginScan();
    bool more = true;
    while (more) {
      more = card.form.ScanRows(-whole_card_threads);
      const Surface::Rows drawn = picture.TakeDrawnRows();
      for (int y = drawn.top; y <= drawn.bottom; ++y) {
        std::copy_n(picture.pixels().scanline(y), picture.width(), shown.scanline(y));
      }
      if (between_steps) between_steps();
    }
    card.form.FinishScan();
  } else {
    card.form.ScanImage();
    shown = picture.pixels();
  }
  const Form1& f = card.form;
  return {shown, {f.fi1, f.fi, f.ba, f.re, f.gr, f.bl, f.barva, f.i, f.j, f.x, f.y, f.fit, f.r}};
}

void ExpectSame(const Scanned& whole, const Scanned& rows, const std::string& what) {
  static const std::vector<std::string> names = {"fi1", "fi", "ba", "re", "gr",  "bl", "barva",
                                                 "i",   "j",  "x",  "y",  "fit", "r"};
  EXPECT_TRUE(SamePicture(whole.picture, rows.picture)) << what;
  EXPECT_TRUE(SameValues(names, whole.state, rows.state)) << what;
}

TEST(FastScan, GoldenCardsAtEveryThreadCount) {
  for (const auto& golden : GoldenCards()) {
    const Scanned rows = ScanCard(golden.request, 0);
    for (int threads : {1, 2, 3, 7, -7}) {
      ExpectSame(ScanCard(golden.request, threads), rows,
                 golden.id + " on " + std::to_string(threads) + " threads");
    }
  }
}

TEST(FastScan, RandomNamesAtEveryThreadCount) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> length(0, 24);
  std::uniform_int_distribution<int> letter(0, 26);
  for (int card = 0; card < 6; ++card) {
    std::string name;
    for (int k = length(random); k > 0; --k) {
      const int c = letter(random);
      name += c == 26 ? ' ' : static_cast<char>('a' + c);
    }
    const Scanned rows = ScanCard({name, std::nullopt}, 0);
    for (int threads : {1, 2, 4, -16}) {
      ExpectSame(ScanCard({name, std::nullopt}, threads), rows,
                 "'" + name + "' on " + std::to_string(threads) + " threads");
    }
  }
}

// Many names on a smaller picture (the coordinate window is the same, so the strokes are as long
// and cross many bands): the reverse painter's culling and the band queue against the plain scan.
TEST(FastScan, ManyRandomNamesOnASmallerPicture) {
  std::mt19937 random(8122026);
  std::uniform_int_distribution<int> length(1, 20);
  std::uniform_int_distribution<int> letter(0, 26);
  for (int card = 0; card < 300; ++card) {
    std::string name;
    for (int k = length(random); k > 0; --k) {
      const int c = letter(random);
      name += c == 26 ? ' ' : static_cast<char>('a' + c);
    }
    const Scanned rows = ScanCard({name, std::nullopt}, 0, 160, 120);
    const int threads = 1 + card % 3;
    ExpectSame(ScanCard({name, std::nullopt}, threads, 160, 120), rows,
               "'" + name + "' on " + std::to_string(threads) + " threads");
    if (HasFailure()) return;
  }
}

// A run that cannot agree with its guess quickly: formula 15 keeps the shape value of the left
// neighbour all down the middle column, so the carried values depend on where a run starts.
TEST(FastScan, OddSizesAndRunsThatStartInTheMiddleColumn) {
  const CardRequest request{"x", ForcedDraws(15, 3, 3)};
  for (const auto& size :
       {std::pair{350, 3}, std::pair{0, 40}, std::pair{700, 0}, std::pair{13, 11}}) {
    const Scanned rows = ScanCard(request, 0, size.first, size.second);
    for (int threads : {1, 2, 5, 64, -1, -4}) {
      ExpectSame(ScanCard(request, threads, size.first, size.second), rows,
                 std::to_string(size.first) + "x" + std::to_string(size.second) + " on " +
                     std::to_string(threads));
    }
  }
  // No rows or no columns: nothing is painted, the state moves as the row loop moves it.
  for (int threads : {2, -3}) {
    ExpectSame(ScanCard(request, threads, 700, -1), ScanCard(request, 0, 700, -1), "no rows");
    ExpectSame(ScanCard(request, threads, -1, 20), ScanCard(request, 0, -1, 20), "no columns");
  }
}

// A card growing in steps and whole cards made on the same thread between its steps (the page's
// worker may start a new card before the last one has finished): each keeps its own strokes.
TEST(FastScan, CardsMadeBetweenTheStepsOfAGrowingOneOnItsThread) {
  const CardRequest growing{"ana marija", std::nullopt};
  const CardRequest other{"janez novak", std::nullopt};
  const Scanned other_alone = ScanCard(other, 1);
  int step = 0;
  const Scanned interrupted = ScanCard(growing, -200, 700, 525, [&] {
    ExpectSame(ScanCard(other, 1), other_alone, "between steps " + std::to_string(step++));
  });
  ExpectSame(interrupted, ScanCard(growing, 1), "the growing card");
}

}  // namespace
}  // namespace card::testing
