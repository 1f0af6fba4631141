#include "renderer/batch_record.h"

#include <cmath>
#include <cstdio>

#include "platform/platform.h"
#include "renderer/progress_console.h"

namespace card {

BatchRecord::BatchRecord(const std::string& manifest) {
  if (manifest.empty()) return;
  if (!ManifestFormatOf(manifest, format_)) {
    throw FileError(manifest, "a manifest's name ends in .csv or .jsonl");
  }
  file_.emplace(manifest, StagedFile::Destination::kReplace);
  Write(ManifestHeader(format_));
}

void BatchRecord::Write(const std::string& text) {
  if (failure_ || text.empty()) return;
  try {
    file_->Append(text.data(), text.size());
  } catch (const FileError& error) {
    failure_ = error.what();
  }
}

void BatchRecord::Add(std::size_t row, ManifestRow line) {
  const std::lock_guard lock(mutex_);
  switch (line.outcome) {
    case LineOutcome::kMade:
      ++made_;
      break;
    case LineOutcome::kRefused:
      ++refused_;
      break;
    case LineOutcome::kFailed:
      ++failed_;
      break;
  }
  if (!file_) return;
  std::string text = ManifestLine(format_, line);
  if (row != next_row_) {
    waiting_.emplace(row, std::move(text));
    return;
  }
  Write(text);
  ++next_row_;
  for (auto next = waiting_.begin(); next != waiting_.end() && next->first == next_row_;
       next = waiting_.erase(next), ++next_row_) {
    Write(next->second);
  }
}

std::optional<std::string> BatchRecord::failure() const {
  const std::lock_guard lock(mutex_);
  return failure_;
}

void BatchRecord::Commit() {
  const std::lock_guard lock(mutex_);
  if (!file_) return;
  // Rows of lines that were never done (a batch that stopped) leave gaps; the rest still count.
  for (const auto& [row, text] : waiting_) Write(text);
  waiting_.clear();
  if (!failure_) file_->Commit();
}

std::string BatchRecord::Summary() const {
  const std::lock_guard lock(mutex_);
  std::string text = CountOf(made_, "card", "cards");
  if (refused_ > 0) text += ", " + CountOf(refused_, "line", "lines") + " refused";
  if (failed_ > 0) text += ", " + CountOf(failed_, "line", "lines") + " failed";
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  return text + ", " + ElapsedText(seconds);
}

std::string ElapsedText(double seconds) {
  char text[40];
  if (seconds < 59.95) {
    std::snprintf(text, sizeof text, "%.1f s", seconds);
  } else if (seconds < 3599.5) {
    const auto whole = static_cast<long>(std::lround(seconds));
    std::snprintf(text, sizeof text, "%ld min %ld s", whole / 60, whole % 60);
  } else {
    const auto minutes = static_cast<long>(std::lround(seconds / 60));
    std::snprintf(text, sizeof text, "%ld h %ld min", minutes / 60, minutes % 60);
  }
  return text;
}

}  // namespace card
