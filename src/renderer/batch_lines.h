#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "renderer/batch_shard.h"
#include "renderer/name_lines.h"

namespace card {

// How a batch names its card files.
enum class FileNaming {
  kTime,  // the window's time stamp and the line number: T20261231235958-000007.png
  kName,  // the person's name: ana-marija.png, and ana-marija-2.png for the second one
};

// The file name stem of a card named after its person: the name's words joined by hyphens
// ("ana marija" and " ana  marija " both give "ana-marija"), or "card" for a name without any.
std::string PersonStem(std::string_view name);

// The `number`-th card of a stem: "ana.png" for the first, "ana-2.png", "ana-3.png", ... after it.
// Names hold no digits, so no stem of one name ends like a numbered stem of another.
std::string PersonFileName(const std::string& stem, int number, const std::string& extension);

// One line of the names list that a batch, or its shard, makes or refuses.
struct PlannedLine {
  BatchName line;
  std::string refusal;  // why the line is refused; empty for a card to make
  std::size_t row = 0;  // its place among the lines the shard makes or refuses, from 0
  // Under FileNaming::kName, which card of its stem it is: one more than the accepted lines above
  // it with the same stem, in the whole list, so every shard gives a line the same file name.
  int number = 1;
};

// The lines of a names list for one shard of a batch, in the list's order, each with its verdict
// and its place. Every line is read and judged, also those of other shards, since the file names
// count the names above them; only the shard's own are given out.
class BatchLines {
 public:
  BatchLines(std::istream& in, BatchShard shard, FileNaming naming)
      : lines_(in), shard_(shard), count_names_(naming == FileNaming::kName) {}

  // The next line of the shard, or nothing at the end. Throws NotAListOfNames at a NUL byte.
  std::optional<PlannedLine> Next();
  const BatchShard& shard() const { return shard_; }
  // The place the shard's next line would take.
  std::size_t next_row() const { return rows_; }

 private:
  NameLines lines_;
  BatchShard shard_;
  bool count_names_;
  std::size_t rows_ = 0;
  // Accepted lines so far by stem. Keyed by a 64-bit hash of the stem, to keep a list of millions
  // of names in a few dozen bytes a name: two stems of one hash (one chance in 37 million for a
  // million different names) share a count, which only gives the later one a higher number, the
  // same in every shard.
  std::unordered_map<std::uint64_t, int> stems_;
};

}  // namespace card
