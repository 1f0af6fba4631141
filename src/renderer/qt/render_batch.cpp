#include "renderer/qt/render_batch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <new>
#include <optional>

#include "numeric/clock.h"
#include "platform/platform.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/staged_file.h"
#include "render/fast_scan.h"
#include "renderer/batch.h"
#include "renderer/headless_card.h"
#include "renderer/name_lines.h"
#include "renderer/qt/card_files.h"
#include "seed/name_rules.h"

namespace card {
namespace {

// More tries than this at a free name means something else is wrong.
constexpr int kMaxNameAttempts = 1000;

// Jobs report side by side; one lock keeps their lines whole.
void Report(const std::string& message) {
  static std::mutex lock;
  const std::lock_guard hold(lock);
  std::cerr << "newyear-card-render: " << message << "\n";
}

// The names file, or standard input for "-", with its number of lines when that can be known
// before reading it (a regular file).
struct NamesInput {
  std::string shown;  // how messages name it
  std::unique_ptr<std::ifstream> file;
  std::istream* stream = nullptr;
  std::optional<std::size_t> lines;
};

NamesInput OpenNames(const std::string& source) {
  NamesInput input;
  if (source == "-") {
    input.shown = "standard input";
    input.stream = &std::cin;
    return input;
  }
  input.shown = source;
  input.file = std::make_unique<std::ifstream>(source, std::ios::binary);
  if (!*input.file) {
    throw CardFileError("cannot read names file " + source + ": " + std::strerror(errno));
  }
  // A folder opens like a file and then reads as empty: it would pass for a list of no names.
  struct stat info {};
  if (::stat(source.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    throw CardFileError("cannot read names file " + source + ": " + std::strerror(EISDIR));
  }
  if (S_ISREG(info.st_mode)) {
    std::ifstream counting(source, std::ios::binary);
    input.lines = CountNameLines(counting);
  }
  input.stream = input.file.get();
  return input;
}

void PrepareOutputFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0777) == 0) return;
  const int error = errno;
  struct stat info {};
  if (error == EEXIST && ::stat(folder.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return;
    throw CardFileError("cannot put the cards in " + folder + ": it is a file, not a folder");
  }
  throw CardFileError("cannot create the folder " + folder + ": " +
                      FileErrorReason(error, ParentDirectory(folder)));
}

// A progress bar on a terminal: lines done, and the total and time left when the total is known.
class Progress {
 public:
  explicit Progress(std::optional<std::size_t> total)
      : total_(total), shown_(isatty(STDERR_FILENO) == 1) {}
  ~Progress() {
    if (shown_ && done_ > 0 && done_ != total_) std::fprintf(stderr, "\n");
  }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void LineDone() {
    // Counting and printing under one lock keeps the counts on the terminal in order.
    const std::lock_guard lock(mutex_);
    const std::size_t done = ++done_;
    if (!shown_) return;
    if (!total_ || done > *total_) {
      std::fprintf(stderr, "\r%zu lines done ", done);
      return;
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double left = elapsed / static_cast<double>(done) * static_cast<double>(*total_ - done);
    const int width = 30;
    const auto filled = static_cast<int>(width * done / *total_);
    std::fprintf(stderr, "\r[%s%s] %zu/%zu lines, %.0f s left ", std::string(filled, '#').c_str(),
                 std::string(width - filled, '.').c_str(), done, *total_, left);
    if (done == *total_) std::fprintf(stderr, "\n");
  }

 private:
  std::optional<std::size_t> total_;
  bool shown_;
  std::size_t done_ = 0;
  std::mutex mutex_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The names of the batch, handed to the jobs one accepted name at a time in the file's order;
// refused lines are reported as they are met.
class NameQueue {
 public:
  NameQueue(NamesInput& input, Progress& progress)
      : shown_(input.shown), lines_(*input.stream), progress_(progress) {}

  std::optional<BatchName> NextAccepted() {
    const std::lock_guard lock(mutex_);
    while (!stopped_) {
      std::optional<BatchName> line;
      try {
        line = lines_.Next();
      } catch (const NotAListOfNames& error) {
        Report(shown_ + " is not a list of names: " + error.what());
        unreadable_ = true;
      }
      if (!line) break;
      const auto refusal = CheckName(line->name);
      if (!refusal) return line;
      Report("line " + std::to_string(line->line) + ": refused name: " + DescribeRefusal(*refusal));
      refused_ = true;
      progress_.LineDone();
    }
    stopped_ = true;
    return std::nullopt;
  }
  bool refused() const { return refused_; }
  bool unreadable() const { return unreadable_; }

 private:
  std::mutex mutex_;
  std::string shown_;
  NameLines lines_;
  Progress& progress_;
  bool stopped_ = false;
  bool refused_ = false;
  bool unreadable_ = false;
};

// Writes a card under the first free name for its line: a batch never replaces a file.
void SaveAsNew(const std::vector<std::uint8_t>& bytes, const std::string& folder,
               const std::string& stem, int line, const std::string& format) {
  const std::string first = folder + "/" + BatchFileName(stem, line, format);
  StagedFile file(first, bytes.data(), bytes.size(), StagedFile::Destination::kNew);
  for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
    if (file.CommitAsNew(folder + "/" + BatchFileName(stem, line, format, attempt))) return;
  }
  throw CardFileError("cannot write " + first + ": " + std::to_string(kMaxNameAttempts) +
                      " files of this name are there already");
}

struct BatchSettings {
  std::string folder;
  std::string format;
  std::string address;
  int threads_per_card = 1;
  LocalTime started;
};

void MakeAndSave(const BatchName& line, const BatchSettings& settings) {
  CardRequest request{line.name, std::nullopt, settings.threads_per_card, settings.started};
  request.address = settings.address;
  thread_local QtTextRenderer text;
  const CardResult result = MakeCard(request, &text);
  const auto bytes = EncodeCardImage(result.picture, "card." + settings.format);
  SaveAsNew(bytes, settings.folder, result.stem, line.line, settings.format);
}

}  // namespace

int RunBatch(const RenderOptions& options) {
  NamesInput input = OpenNames(options.names);
  PrepareOutputFolder(options.out_dir);
  const BatchPlan plan = PlanBatch(input.lines.value_or(SIZE_MAX), DefaultThreadCount(),
                                   options.jobs, options.threads);
  const BatchSettings settings{options.out_dir, options.format, options.address,
                               plan.threads_per_card, SystemClock().Now()};
  Progress progress(input.lines);
  NameQueue names(input, progress);
  std::atomic<bool> write_failed{false};
  RunInParallel(static_cast<std::size_t>(plan.jobs), plan.jobs, [&](std::size_t) {
    while (const auto line = names.NextAccepted()) {
      try {
        MakeAndSave(*line, settings);
      } catch (const FileError& error) {
        Report("line " + std::to_string(line->line) + ": cannot write " + error.path() + ": " +
               error.reason());
        write_failed = true;
      } catch (const std::bad_alloc&) {
        Report("line " + std::to_string(line->line) + ": out of memory");
        write_failed = true;
      } catch (const std::exception& error) {
        Report("line " + std::to_string(line->line) + ": " + error.what());
        write_failed = true;
      }
      progress.LineDone();
    }
  });
  if (write_failed || names.unreadable()) return 1;
  return names.refused() ? 2 : 0;
}

}  // namespace card
