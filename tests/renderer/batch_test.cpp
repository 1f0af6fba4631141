// Batches of cards: how a names file becomes lines, how the cards are spread over the cores, what
// the files are called and that every card of a batch is made exactly once.
#include "renderer/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "renderer/batch_shard.h"
#include "renderer/name_lines.h"

namespace card {
namespace {

// Every line of a text, or nothing when it is not a list of names. A line that cannot be judged as
// a name shows as "unreadable: " and the reason.
std::optional<std::vector<BatchName>> SplitNames(const std::string& text) {
  std::istringstream in(text);
  NameLines lines(in);
  std::vector<BatchName> names;
  try {
    while (auto line = lines.Next()) {
      if (!line->unreadable.empty()) line->name = "unreadable: " + line->unreadable;
      names.push_back(std::move(*line));
    }
  } catch (const NotAListOfNames&) {
    return std::nullopt;
  }
  return names;
}

// The names of a split that must succeed, with their line numbers checked to run 1, 2, 3, ...
std::vector<std::string> NamesOf(const std::string& text) {
  const auto lines = SplitNames(text);
  if (!lines) {
    ADD_FAILURE() << "the text was taken for binary data";
    return {};
  }
  std::vector<std::string> names;
  for (const BatchName& line : *lines) {
    EXPECT_EQ(line.line, static_cast<int>(names.size()) + 1) << "line numbers must run 1, 2, 3";
    names.push_back(line.name.rfind("unreadable: ", 0) == 0 ? "?" : line.name);
  }
  return names;
}

using Names = std::vector<std::string>;

TEST(NameLines, LineEndings) {
  EXPECT_EQ(NamesOf("ana\nbor\n"), (Names{"ana", "bor"}));
  EXPECT_EQ(NamesOf("ana\r\nbor\r\n"), (Names{"ana", "bor"}));
  EXPECT_EQ(NamesOf("ana\r\nbor\ncene\r\n"), (Names{"ana", "bor", "cene"}));
  // The last line keeps its name without a final line ending, and a final ending adds none.
  EXPECT_EQ(NamesOf("ana\nbor"), (Names{"ana", "bor"}));
  EXPECT_EQ(NamesOf("ana\r\nbor"), (Names{"ana", "bor"}));
  EXPECT_EQ(NamesOf("ana"), (Names{"ana"}));
  EXPECT_EQ(NamesOf(""), Names{});
}

TEST(NameLines, EmptyLinesAreEmptyNames) {
  EXPECT_EQ(NamesOf("\n"), (Names{""}));
  EXPECT_EQ(NamesOf("\r\n"), (Names{""}));
  EXPECT_EQ(NamesOf("\n\n"), (Names{"", ""}));
  EXPECT_EQ(NamesOf("ana\n\nbor\n"), (Names{"ana", "", "bor"}));
  EXPECT_EQ(NamesOf("ana\r\n\r\nbor\r\n\r\n"), (Names{"ana", "", "bor", ""}));
  EXPECT_EQ(NamesOf("\nana"), (Names{"", "ana"}));
}

TEST(NameLines, LinesAreKeptExactlyAsTyped) {
  // Spaces, refused characters and letters beyond ASCII stay for the name rules to judge.
  EXPECT_EQ(NamesOf("  ana novak \n"), (Names{"  ana novak "}));
  EXPECT_EQ(NamesOf("Ana\ta2\n"), (Names{"Ana\ta2"}));
  EXPECT_EQ(NamesOf("\xC4\x8D\n\xC5\xA1\xC5\xBE"), (Names{"\xC4\x8D", "\xC5\xA1\xC5\xBE"}));
  EXPECT_EQ(NamesOf("\xE6\x97\xA5\n\xF0\x9F\x8E\x84\n"),
            (Names{"\xE6\x97\xA5", "\xF0\x9F\x8E\x84"}));
  // Only a carriage return right before the line feed belongs to the line ending.
  EXPECT_EQ(NamesOf("a\rb\n"), (Names{"a\rb"}));
  EXPECT_EQ(NamesOf("ab\r\r\n"), (Names{"ab\r"}));
  // The replacement character is text like any other, not a sign of a binary file.
  EXPECT_EQ(NamesOf("a\xEF\xBF\xBD\n"), (Names{"a\xEF\xBF\xBD"}));
}

TEST(NameLines, OnlyANulByteEndsTheListAndOtherBadLinesAreSkipped) {
  // A NUL byte means the input is not text at all: nothing from there on is read.
  EXPECT_FALSE(SplitNames(std::string("ana\0bor\n", 8)));
  EXPECT_FALSE(SplitNames(std::string("\0", 1)));
  EXPECT_FALSE(SplitNames(std::string("\x89PNG\r\n\x1A\n\0\0", 10)));  // the start of a PNG file
  // Text that is not UTF-8 is a line that cannot be a name ("?"), and the next line is read.
  EXPECT_EQ(NamesOf("ana\n\xFF\nbor"), (Names{"ana", "?", "bor"}));  // never occurs in UTF-8
  EXPECT_EQ(NamesOf("jos\xE9\nana\n"), (Names{"?", "ana"}));         // Latin-1
  EXPECT_EQ(NamesOf("\xC1\xA1\nana"), (Names{"?", "ana"}));          // an overlong form of "a"
  EXPECT_EQ(NamesOf("ana\n\xED\xA0\x80\n"), (Names{"ana", "?"}));    // a surrogate
  EXPECT_EQ(NamesOf("ana\n\xC4"), (Names{"ana", "?"}));  // cut off in the middle of a character
  EXPECT_EQ(NamesOf("\x8D\n"), (Names{"?"}));            // a continuation byte with no lead
}

// An input that never ends, as a pipe from a program that keeps writing, counting what was read.
class EndlessInput : public std::streambuf {
 public:
  explicit EndlessInput(char byte) { std::fill(std::begin(buffer_), std::end(buffer_), byte); }
  std::size_t bytes_read = 0;

 protected:
  int_type underflow() override {
    bytes_read += sizeof buffer_;
    setg(buffer_, buffer_, buffer_ + sizeof buffer_);
    return traits_type::to_int_type(buffer_[0]);
  }

 private:
  char buffer_[64];
};

TEST(NameLines, ByteOrderMarkBareCarriageReturnAndLinesTooLongForAName) {
  const std::string longest(kMaxNameLineBytes - 1, 'a');  // and a CR: the most a name can fill
  const struct {
    std::string text;
    Names names;
  } accepted[] = {
      {"\xEF\xBB\xBF"
       "ana\nbor\n",
       {"ana", "bor"}},
      {"\xEF\xBB\xBF\n", {""}},
      // Only one mark is the file's; a second one belongs to the name.
      {"\xEF\xBB\xBF\xEF\xBB\xBF"
       "ana",
       {"\xEF\xBB\xBF"
        "ana"}},
      {"ana\n\xEF\xBB\xBF"
       "bor",
       {"ana",
        "\xEF\xBB\xBF"
        "bor"}},
      // A CR that ends no line is part of the name, on the last line too.
      {"ab\r", {"ab\r"}},
      {"ana\nbor\r", {"ana", "bor\r"}},
      {longest + "\r\n" + longest, {longest, longest}},
      {"\xEF\xBB\xBF" + longest + "\r\n", {longest}},
  };
  for (const auto& [text, names] : accepted) {
    EXPECT_EQ(NamesOf(text), names) << text;
  }

  // Lines longer than any name are read to their end and skipped; the lines after them count on.
  const struct {
    std::string text;
    Names names;
  } skipped[] = {
      {"ana\n" + longest + "\r\r\n" + "bor", {"ana", longest + "\r", "bor"}},
      {"ana\n" + longest + "a\r\r\n" + "bor", {"ana", "?", "bor"}},
      {"ana\n" + longest + "aa", {"ana", "?"}},
      {std::string(5'000'000, 'a') + "\r\nana\n", {"?", "ana"}},
      {"\xEF\xBB\xBF\xFF\n\n", {"?", ""}},
      // A byte order mark alone is a list of no names.
      {"\xEF\xBB\xBF", {}},
  };
  for (const auto& [text, names] : skipped) {
    EXPECT_EQ(NamesOf(text), names) << text.substr(0, 80);
    std::istringstream in(text);
    EXPECT_EQ(CountNameLines(in), names.size()) << text.substr(0, 80);
  }
  std::istringstream nul_on_line_three(std::string("ana\nbor\n\0\n", 10));
  NameLines lines(nul_on_line_three);
  try {
    while (lines.Next()) {
    }
    ADD_FAILURE() << "a NUL byte was taken for text";
  } catch (const NotAListOfNames& error) {
    EXPECT_EQ(error.line(), 3) << error.what();
  }

  // Endless binary input is turned down at once, not read until memory runs out.
  EndlessInput endless('\0');
  std::istream in(&endless);
  NameLines endless_lines(in);
  EXPECT_THROW(endless_lines.Next(), NotAListOfNames);
  EXPECT_LE(endless.bytes_read, 64u);
}

TEST(PlanBatch, EnoughCardsRunOneCardPerCore) {
  for (const std::size_t cards : {2u, 3u, 200u}) {
    const BatchPlan plan = PlanBatch(cards, 2, 0);
    EXPECT_EQ(plan.jobs, 2) << cards << " cards";
    EXPECT_EQ(plan.threads_per_card, 1) << cards << " cards";
  }
  const BatchPlan plan = PlanBatch(100, 8, 0);
  EXPECT_EQ(plan.jobs, 8);
  EXPECT_EQ(plan.threads_per_card, 1);
}

TEST(PlanBatch, CoresLeftOverScanEachCardOnSeveralThreads) {
  BatchPlan plan = PlanBatch(1, 2, 0);
  EXPECT_EQ(plan.jobs, 1);
  EXPECT_EQ(plan.threads_per_card, 2);

  plan = PlanBatch(2, 8, 0);
  EXPECT_EQ(plan.jobs, 2);
  EXPECT_EQ(plan.threads_per_card, 4);

  plan = PlanBatch(3, 8, 0);
  EXPECT_EQ(plan.jobs, 3);
  EXPECT_EQ(plan.threads_per_card, 2);
}

TEST(PlanBatch, RequestedJobsAreRespected) {
  BatchPlan plan = PlanBatch(200, 2, 1);
  EXPECT_EQ(plan.jobs, 1);
  EXPECT_EQ(plan.threads_per_card, 2);

  plan = PlanBatch(200, 8, 3);
  EXPECT_EQ(plan.jobs, 3);
  EXPECT_EQ(plan.threads_per_card, 2);

  // More jobs than cores would only hold more cards in memory: one per core.
  plan = PlanBatch(200, 2, 6);
  EXPECT_EQ(plan.jobs, 2);
  EXPECT_EQ(plan.threads_per_card, 1);

  // More jobs than cards would leave threads with nothing to do.
  plan = PlanBatch(2, 2, 6);
  EXPECT_EQ(plan.jobs, 2);
  EXPECT_EQ(plan.threads_per_card, 1);

  // Threads per card asked for are what each card gets, cores or not.
  plan = PlanBatch(200, 2, 2, 3);
  EXPECT_EQ(plan.jobs, 2);
  EXPECT_EQ(plan.threads_per_card, 3);
  plan = PlanBatch(SIZE_MAX, 4, 0, 1);
  EXPECT_EQ(plan.jobs, 4);
  EXPECT_EQ(plan.threads_per_card, 1);
}

TEST(PlanBatch, NeverPlansZeroThreads) {
  for (const std::size_t cards : {0u, 1u, 5u}) {
    for (const int cores : {0, -1, 1, 2}) {
      for (const int requested : {0, 1, 4}) {
        const BatchPlan plan = PlanBatch(cards, cores, requested);
        EXPECT_GE(plan.jobs, 1) << cards << " cards, " << cores << " cores, " << requested;
        EXPECT_GE(plan.threads_per_card, 1)
            << cards << " cards, " << cores << " cores, " << requested;
      }
    }
  }
}

TEST(BatchFileName, LineNumberInSixDigitsAndASuffixWhenTheNameIsTaken) {
  const std::string stem = "T20261231235958";
  EXPECT_EQ(BatchFileName(stem, 1, "png"), "T20261231235958-000001.png");
  EXPECT_EQ(BatchFileName(stem, 7, "bmp"), "T20261231235958-000007.bmp");
  EXPECT_EQ(BatchFileName(stem, 999999, "png"), "T20261231235958-999999.png");
  EXPECT_EQ(BatchFileName(stem, 1234567, "png"), "T20261231235958-1234567.png");
  EXPECT_EQ(BatchFileName(stem, 7, "png", 1), "T20261231235958-000007.png");
  EXPECT_EQ(BatchFileName(stem, 7, "png", 2), "T20261231235958-000007-2.png");
  EXPECT_EQ(BatchFileName(stem, 7, "png", 13), "T20261231235958-000007-13.png");
}

TEST(BatchFileName, EveryLineGetsItsOwnFileInNameOrder) {
  const std::string stem = "T20261231235958";
  std::set<std::string> names;
  std::string previous;
  for (int line = 1; line <= 12345; ++line) {
    for (int attempt = 1; attempt <= 3; ++attempt) {
      EXPECT_TRUE(names.insert(BatchFileName(stem, line, "png", attempt)).second)
          << line << " " << attempt << " used twice";
    }
    // Equal widths make a listing sorted by name follow the lines of the file.
    const std::string name = BatchFileName(stem, line, "png");
    EXPECT_LT(previous, name);
    previous = name;
  }
}

// Shards as --shard gives them: every line of a list in exactly one of the N parts, part 0 with
// line 1, and each part's count of lines what it makes; anything but "K/N" with 0 <= K < N refused.
TEST(BatchShard, EveryLineInExactlyOnePart) {
  for (const char* text : {"", "1", "0/0", "1/1", "4/4", "-1/4", "+1/4", "01/4", "1/04", "1/ 4",
                           "1 /4", "1/4/", "a/b", "0/100001", "1000000/1000001"}) {
    EXPECT_FALSE(ParseShard(text).has_value()) << "'" << text << "'";
  }
  const auto big = ParseShard("99999/100000");
  ASSERT_TRUE(big.has_value());
  EXPECT_EQ(big->index, 99999);
  EXPECT_TRUE(big->Makes(100000));
  for (int count = 1; count <= 7; ++count) {
    EXPECT_TRUE(ParseShard("0/" + std::to_string(count))->Makes(1)) << count << " parts";
    for (std::size_t lines = 0; lines <= 30; ++lines) {
      std::vector<int> owners(lines + 1, 0);
      for (int index = 0; index < count; ++index) {
        const std::string text = std::to_string(index) + "/" + std::to_string(count);
        const auto shard = ParseShard(text);
        ASSERT_TRUE(shard.has_value()) << text;
        std::size_t made = 0;
        for (std::size_t line = 1; line <= lines; ++line) {
          if (shard->Makes(static_cast<int>(line))) {
            ++owners[line];
            ++made;
          }
        }
        EXPECT_EQ(shard->LinesOf(lines), made) << text << " of " << lines << " lines";
      }
      for (std::size_t line = 1; line <= lines; ++line) {
        EXPECT_EQ(owners[line], 1) << "line " << line << " in " << count << " parts";
      }
    }
  }
}

}  // namespace
}  // namespace card
