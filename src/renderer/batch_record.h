#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "files/staged_file.h"
#include "renderer/manifest_rows.h"

namespace card {

// What became of a batch's lines: counted for the summary and, with a manifest, written one row a
// line in the list's order as the lines are done. Rows come from several jobs at once and out of
// order; each is held only until the rows above it are written. The manifest is written to a
// temporary file beside it and put in place, complete, by Commit.
class BatchRecord {
 public:
  // No manifest for an empty path. Throws FileError when the manifest cannot be started.
  explicit BatchRecord(const std::string& manifest);

  // The row of the line at `row` among the lines the batch makes or refuses (0, 1, 2, ...). Safe
  // from any thread. A manifest that cannot be written is not an exception here: see failure().
  void Add(std::size_t row, ManifestRow line);

  // Why the manifest could not be written, once it could not; the batch should stop then.
  std::optional<std::string> failure() const;

  // Puts the manifest in place with every row added, unless it could not be written (failure()).
  // Throws FileError.
  void Commit();

  // "200 cards, 2 lines refused, 1 line failed, 4.7 s".
  std::string Summary() const;

 private:
  void Write(const std::string& text);

  mutable std::mutex mutex_;
  std::optional<StagedFile> file_;
  ManifestFormat format_ = ManifestFormat::kCsv;
  std::map<std::size_t, std::string> waiting_;  // rows done before the rows above them
  std::size_t next_row_ = 0;
  std::optional<std::string> failure_;
  std::size_t made_ = 0, refused_ = 0, failed_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// A duration as a person reads it: "4.7 s", "12 min 5 s", "3 h 20 min".
std::string ElapsedText(double seconds);

}  // namespace card
