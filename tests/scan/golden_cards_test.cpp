// Pinned pictures: any change of a card's pixels fails here. A mismatch writes the actual picture,
// the expected one and their difference (white where they differ) to golden-actual/ in the working
// directory so they can be looked at.
#include "support/golden_cards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "raster/bmp_writer.h"
#include "scan/reference_scan.h"
#include "support/card_fixture.h"
#include "support/picture_compare.h"

namespace card::testing {
namespace {

std::map<std::string, std::uint64_t> PinnedChecksums() {
  std::map<std::string, std::uint64_t> pinned;
  std::ifstream table(GoldenTablePath());
  std::string id, hex;
  while (table >> id >> hex) pinned[id] = std::stoull(hex, nullptr, 16);
  return pinned;
}

void WriteBmp(const std::string& path, const PixelBuffer& picture) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(picture);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Only checksums are pinned, so the expected picture is made anew with the reference scan; when
// that misses the pin as well, the change lies in code both scans share (palette, lines, text)
// and the reference picture is written under its own name.
void ReportMismatch(const GoldenCard& golden, std::uint64_t pinned, const PixelBuffer& actual) {
  std::filesystem::create_directories("golden-actual");
  const std::string stem = "golden-actual/" + golden.id;
  WriteBmp(stem + "-actual.bmp", actual);
  const PixelBuffer reference = ReferenceCardPicture(golden.request);
  const bool reference_pinned = Checksum(reference) == pinned;
  const std::string expected_path = stem + (reference_pinned ? "-expected.bmp" : "-reference.bmp");
  WriteBmp(expected_path, reference);
  WriteBmp(stem + "-difference.bmp", DifferenceImage(actual, reference));
  ADD_FAILURE() << golden.id << ": picture differs from the pinned one ("
                << SamePicture(actual, reference).message() << "); "
                << (reference_pinned ? "" : "the reference scan misses the pin too; ")
                << "pictures written to " << std::filesystem::absolute("golden-actual").string();
}

TEST(GoldenCards, PicturesMatchTheirPinnedChecksums) {
  const auto pinned = PinnedChecksums();
  const auto cards = GoldenCards();
  ASSERT_EQ(pinned.size(), cards.size()) << "regenerate " << GoldenTablePath();
  for (const auto& golden : cards) {
    const CardResult result = MakeCard(golden.request);
    const auto expected = pinned.find(golden.id);
    ASSERT_NE(expected, pinned.end()) << golden.id << " is not pinned";
    if (Checksum(result.picture) != expected->second) {
      ReportMismatch(golden, expected->second, result.picture);
    }
  }
}

// The rows above the greeting line, which the name itself does not print on.
bool SameAboveGreeting(const PixelBuffer& a, const PixelBuffer& b) {
  constexpr int kGreetingTop = 490;
  return std::equal(a.data(), a.scanline(kGreetingTop), b.data());
}

TEST(GoldenCards, SameNameSamePictureAndAnagramsAgree) {
  const CardResult first = MakeCard({"ana marija", std::nullopt});
  const CardResult again = MakeCard({"ana marija", std::nullopt});
  EXPECT_TRUE(first.picture == again.picture);
  // Anagrams give the same seed and so the same picture; only their greetings differ.
  const CardResult ab = MakeCard({"ab", std::nullopt});
  const CardResult ba = MakeCard({"ba", std::nullopt});
  EXPECT_TRUE(SameAboveGreeting(ab.picture, ba.picture));
  EXPECT_FALSE(ab.picture == ba.picture);
  EXPECT_FALSE(SameAboveGreeting(ab.picture, first.picture));
  // A recipe reproduces its card.
  const CardResult replayed = MakeCard({"ana marija", first.recipe.draws});
  EXPECT_TRUE(replayed.picture == first.picture);
  EXPECT_EQ(first.recipe.draws.size(), kDrawsPerCard);
}

}  // namespace
}  // namespace card::testing
