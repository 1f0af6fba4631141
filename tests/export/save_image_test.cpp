// Saving a card: the pixel copy, the progress marker, the file's name and what a failed save
// leaves behind.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "support/card_fixture.h"

namespace card::testing {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kGrey = 0xFF808080u;

// Every pixel different from its neighbours and each channel following its own rule, so a
// transposed, shifted or channel-swapped copy shows.
void PaintPattern(PixelBuffer& pixels, std::uint32_t salt) {
  for (int y = 0; y < pixels.height(); ++y) {
    for (int x = 0; x < pixels.width(); ++x) {
      const std::uint32_t red = (static_cast<std::uint32_t>(x) * 7u + salt) & 0xFFu;
      const std::uint32_t green = (static_cast<std::uint32_t>(y) * 5u) & 0xFFu;
      const std::uint32_t blue = (static_cast<std::uint32_t>(x ^ y) + salt * 3u) & 0xFFu;
      pixels.scanline(y)[x] = 0xFF000000u | red << 16 | green << 8 | blue;
    }
  }
}

// A card whose picture and file stem are ready to be saved.
struct SaveCard : TestCard {
  explicit SaveCard(LocalTime now = LocalTime{2009, 12, 31, 23, 59, 58}) {
    SetGeometry(form);
    memory.clock.Set(now);
    form.ChooseParameters();
    PaintPattern(memory.picture1.pixels(), 0);
    memory.picture2.pixels().Fill(kWhite);  // whatever an earlier save left
    memory.form.pixels().Fill(kGrey);
  }
};

bool IsCardFileName(const std::string& path) {
  const std::string prefix = "C:\\wimgx\\T";
  if (path.size() != 28 || path.rfind(prefix, 0) != 0) return false;
  if (path.substr(24) != ".bmp") return false;
  for (std::size_t k = prefix.size(); k < 24; ++k) {
    if (!std::isdigit(static_cast<unsigned char>(path[k]))) return false;
  }
  return true;
}

TEST(SaveImage, FileIsNamedAfterTheMomentTheCardWasStarted) {
  struct Case {
    LocalTime now;
    std::string path;
  };
  for (const Case& c : {Case{{2009, 12, 31, 23, 59, 58}, "C:\\wimgx\\T20091231235958.bmp"},
                        Case{{2027, 1, 2, 3, 4, 5}, "C:\\wimgx\\T20270102030405.bmp"},
                        Case{{2010, 10, 10, 0, 0, 0}, "C:\\wimgx\\T20101010000000.bmp"}}) {
    SCOPED_TRACE(c.path);
    SaveCard card(c.now);
    card.memory.clock.Set(LocalTime{2030, 6, 6, 6, 6, 6});  // the save's own moment does not count
    card.form.SaveImage();
    const auto& files = card.memory.memory_files.files;
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.begin()->first, c.path);
    EXPECT_TRUE(IsCardFileName(files.begin()->first));
  }
}

TEST(SaveImage, SavedPictureIsPicture1PixelForPixel) {
  SaveCard card;
  card.form.SaveImage();
  const auto& files = card.memory.memory_files.files;
  ASSERT_EQ(files.size(), 1u);
  const PixelBuffer& saved = files.begin()->second;
  EXPECT_EQ(saved.width(), 700);
  EXPECT_EQ(saved.height(), 525);
  EXPECT_TRUE(saved == card.memory.picture1.pixels());
  EXPECT_TRUE(card.memory.picture2.pixels() == card.memory.picture1.pixels());
}

TEST(SaveImage, MarkerEndsUnderTheRightEndOfThePictureAndCountersAreLeft) {
  SaveCard card;
  card.form.SaveImage();
  const PixelBuffer& window = card.memory.form.pixels();
  for (int row = 560; row <= 567; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(window.at(730, row), kWhite);
    EXPECT_EQ(window.at(731, row), kWhite);
    EXPECT_EQ(window.at(729, row), kBlack);
    EXPECT_EQ(window.at(29, row), kBlack);  // the first black line
    EXPECT_EQ(window.at(400, row), kBlack);
    EXPECT_EQ(window.at(28, row), kGrey);  // never reached
    EXPECT_EQ(window.at(732, row), kGrey);
  }
  EXPECT_EQ(window.at(730, 559), kGrey);
  EXPECT_EQ(window.at(730, 568), kGrey);
  EXPECT_EQ(card.form.i, Value::Integer(701));
  EXPECT_EQ(card.form.j, Value::Integer(526));
}

TEST(SaveImage, SavingAgainReplacesTheFile) {
  SaveCard card;
  card.form.Command3_Click();
  PaintPattern(card.memory.picture1.pixels(), 91);
  card.form.Command3_Click();
  const auto& files = card.memory.memory_files.files;
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files.begin()->first, "C:\\wimgx\\T20091231235958.bmp");
  EXPECT_TRUE(files.begin()->second == card.memory.picture1.pixels());
}

TEST(SaveImage, FailedSaveIsReportedOnceAndKeepsTheCard) {
  SaveCard card;
  const PixelBuffer before = card.memory.picture1.pixels();
  card.memory.memory_files.fail_reason = "the disk is full";
  card.form.Command3_Click();

  const auto& errors = card.memory.messages.save_errors;
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("C:\\wimgx\\T20091231235958.bmp"), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("the disk is full"), std::string::npos) << errors[0];
  EXPECT_TRUE(card.memory.messages.runtime_errors.empty());
  EXPECT_FALSE(card.memory.window.quit);
  EXPECT_FALSE(card.form.exit_requested());
  EXPECT_TRUE(card.memory.picture1.pixels() == before);
  EXPECT_TRUE(card.memory.memory_files.files.empty());

  // Once the cause is gone the same card can be saved.
  card.memory.memory_files.fail_reason.clear();
  card.form.Command3_Click();
  EXPECT_EQ(errors.size(), 1u);
  ASSERT_EQ(card.memory.memory_files.files.size(), 1u);
  EXPECT_TRUE(card.memory.memory_files.files.begin()->second == before);
}

}  // namespace
}  // namespace card::testing
