// Pinned pictures: any change of a card's pixels fails here. The actual picture of a mismatch is
// written to golden-actual/ in the working directory so it can be looked at.
#include "support/golden_cards.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/bmp_writer.h"
#include "support/card_fixture.h"

namespace card::testing {
namespace {

std::map<std::string, std::uint64_t> PinnedChecksums() {
  std::map<std::string, std::uint64_t> pinned;
  std::ifstream table(GoldenTablePath());
  std::string id, hex;
  while (table >> id >> hex) pinned[id] = std::stoull(hex, nullptr, 16);
  return pinned;
}

void WriteActual(const std::string& id, const PixelBuffer& picture) {
  std::filesystem::create_directories("golden-actual");
  const std::string path = "golden-actual/" + id + ".bmp";
  const std::vector<std::uint8_t> bytes = EncodeBmp(picture);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  ADD_FAILURE() << id << ": picture differs from the pinned one; actual written to "
                << std::filesystem::absolute(path).string();
}

TEST(GoldenCards, PicturesMatchTheirPinnedChecksums) {
  const auto pinned = PinnedChecksums();
  const auto cards = GoldenCards();
  ASSERT_EQ(pinned.size(), cards.size()) << "regenerate " << GoldenTablePath();
  for (const auto& golden : cards) {
    const CardResult result = MakeCard(golden.request, nullptr);
    const auto expected = pinned.find(golden.id);
    ASSERT_NE(expected, pinned.end()) << golden.id << " is not pinned";
    if (Checksum(result.picture) != expected->second) WriteActual(golden.id, result.picture);
  }
}

TEST(GoldenCards, SameNameSamePictureAndAnagramsAgree) {
  const CardResult first = MakeCard({"ana marija", std::nullopt}, nullptr);
  const CardResult again = MakeCard({"ana marija", std::nullopt}, nullptr);
  EXPECT_TRUE(first.picture == again.picture);
  const CardResult ab = MakeCard({"ab", std::nullopt}, nullptr);
  const CardResult ba = MakeCard({"ba", std::nullopt}, nullptr);
  EXPECT_TRUE(ab.picture == ba.picture);
  EXPECT_FALSE(ab.picture == first.picture);
  // A recipe reproduces its card.
  const CardResult replayed = MakeCard({"ana marija", first.recipe.draws}, nullptr);
  EXPECT_TRUE(replayed.picture == first.picture);
  EXPECT_EQ(first.recipe.draws.size(), kDrawsPerCard);
}

}  // namespace
}  // namespace card::testing
