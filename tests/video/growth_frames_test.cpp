// The film's frames against the window's card: the in-order scan's picture after each frame's row,
// made here by the whole-card scan over those rows alone, then the finished card with its
// greeting; and the changed rows that the encoder converts are all the rows that changed.
#include "video/growth_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "support/card_fixture.h"
#include "support/growth_pictures.h"
#include "support/picture_compare.h"
#include "video/film_plan.h"

namespace card::testing {
namespace {

bool SameRow(const PixelBuffer& a, const PixelBuffer& b, int row) {
  return std::memcmp(a.scanline(row), b.scanline(row), sizeof(std::uint32_t) * a.width()) == 0;
}

TEST(GrowthFrames, ShowTheWindowsScanRowByRowThenTheFinishedCard) {
  // The rows grow evenly: every frame adds the same number of rows, give or take one.
  for (int frame = 1; frame < kGrowthFrames; ++frame) {
    const int step = GrowthRow(frame) - GrowthRow(frame - 1);
    EXPECT_GE(step, kLastScanRow / (kGrowthFrames - 1)) << "frame " << frame;
    EXPECT_LE(step, kLastScanRow / (kGrowthFrames - 1) + 1) << "frame " << frame;
  }

  const struct {
    const char* what;
    CardRequest request;
  } cases[] = {
      {"a name's own card", CardRequest("srecno novo leto")},
      {"forced formulas", CardRequest("ab", ForcedDraws(7, 2, 3))},
      {"the empty name", CardRequest("")},
  };
  const std::set<int> compared = {
      0, 1, kGrowthFrames / 2, kGrowthFrames - 1, kGrowthFrames, kFilmFrames - 1};
  for (const auto& [what, request] : cases) {
    SCOPED_TRACE(what);
    GrowthFrames frames(FilmedCard{request.name, request.draws, "", "", {}});
    PixelBuffer previous(kPictureWidth, kPictureHeight, 0);  // no picture before the first
    int count = 0;
    for (FilmFrame frame = frames.Next(); frame.picture != nullptr; frame = frames.Next()) {
      SCOPED_TRACE("frame " + std::to_string(count));
      const PixelBuffer& picture = *frame.picture;
      for (int row = 0; row < kPictureHeight; ++row) {
        if (row >= frame.first_changed_row && row <= frame.last_changed_row) continue;
        ASSERT_TRUE(SameRow(picture, previous, row)) << "row " << row << " changed unannounced";
      }
      EXPECT_EQ(frame.key, count == kGrowthFrames);
      if (compared.count(count) != 0) {
        EXPECT_TRUE(SamePicture(picture, ExpectedFilmFrame(request, count)));
      }
      previous = picture;
      ++count;
    }
    EXPECT_EQ(count, kFilmFrames);
  }
}

}  // namespace
}  // namespace card::testing
