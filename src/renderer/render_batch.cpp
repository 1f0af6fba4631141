#include "renderer/render_batch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <new>
#include <optional>

#include "files/staged_file.h"
#include "platform/platform.h"
#include "renderer/batch.h"
#include "renderer/card_files.h"
#include "renderer/card_video.h"
#include "renderer/headless_card.h"
#include "renderer/name_lines.h"
#include "renderer/progress_console.h"
#include "scan/fast_scan.h"
#include "seed/name_rules.h"
#include "services/clock.h"
#include "services/worker_threads.h"
#include "video/film_encoder.h"

namespace card {
namespace {

// More tries than this at a free name means something else is wrong.
constexpr int kMaxNameAttempts = 1000;

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
    throw FileError(source, std::strerror(errno), errno, "cannot read names file");
  }
  // A folder opens like a file and then reads as empty: it would pass for a list of no names.
  struct stat info {};
  if (::stat(source.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    throw FileError(source, std::strerror(EISDIR), EISDIR, "cannot read names file");
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
    // A folder name ending in "/" is the folder itself, whatever its parent holds.
    if (!folder.empty() && folder.back() != '/' && !MayFollowLink(folder)) {
      throw FileError(folder,
                      "it is a symbolic link that another user put in a folder everyone may "
                      "write in; it was not followed",
                      0, "cannot put the cards in");
    }
    if (S_ISDIR(info.st_mode)) return;
    throw FileError(folder, "it is a file, not a folder", 0, "cannot put the cards in");
  }
  throw FileError(folder, FileErrorReason(error, ParentDirectory(folder)), error,
                  "cannot create the folder");
}

// The names of the batch, handed to the jobs one accepted name at a time in the file's order;
// refused lines are reported as they are met.
class NameQueue {
 public:
  NameQueue(NamesInput& input, ProgressBar& progress)
      : shown_(input.shown), total_(input.lines), lines_(*input.stream), progress_(progress) {}

  std::optional<BatchName> NextAccepted() {
    const std::lock_guard lock(mutex_);
    while (!stopped_) {
      std::optional<BatchName> line;
      try {
        line = lines_.Next();
      } catch (const NotAListOfNames& error) {
        ConsoleMessage(shown_ + " is not a list of names: " + error.what() + "; " +
                       NotRead(error.line()));
        unreadable_ = true;
      }
      if (!line) break;
      read_ = static_cast<std::size_t>(line->line);
      std::string refusal = line->unreadable;
      if (refusal.empty()) {
        const auto verdict = CheckName(line->name);
        if (!verdict) return line;
        refusal = DescribeRefusal(*verdict);
      }
      ConsoleMessage("line " + std::to_string(line->line) + ": refused: " + refusal);
      refused_ = true;
      progress_.LineDone();
    }
    stopped_ = true;
    return std::nullopt;
  }

  // Hands out no more names, without waiting for a line being read.
  void Halt() { stopped_ = true; }
  // How many lines were not made after a halt, counting the `failed` ones that were handed out.
  std::string NotMade(std::size_t failed) {
    const std::lock_guard lock(mutex_);
    if (!total_) {
      return CountOf(failed, "line was", "lines were") + " not made and the rest of " + shown_ +
             " was not read";
    }
    return CountOf(*total_ - std::min<std::size_t>(read_, *total_) + failed, "line was",
                   "lines were") +
           " not made";
  }

  bool refused() const { return refused_; }
  bool unreadable() const { return unreadable_; }

 private:
  std::string NotRead(int from_line) const {
    if (!total_) return "the rest of it was not read";
    const auto from = static_cast<std::size_t>(from_line);
    const std::size_t left = *total_ >= from ? *total_ - from + 1 : 1;
    return CountOf(left, "line was", "lines were") + " not read";
  }

  std::mutex mutex_;
  std::string shown_;
  std::optional<std::size_t> total_;
  NameLines lines_;
  ProgressBar& progress_;
  std::size_t read_ = 0;  // the last line read
  std::atomic<bool> stopped_{false};
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
  throw FileError(first,
                  std::to_string(kMaxNameAttempts) + " files of this name are there already");
}

struct BatchSettings {
  std::string folder;
  std::string format;
  std::string address;
  std::string year;
  int threads_per_card = 1;
  LocalTime started;
};

void MakeAndSave(const BatchName& line, const BatchSettings& settings) {
  CardRequest request{line.name, std::nullopt, settings.threads_per_card, settings.started};
  request.address = settings.address;
  request.year = settings.year;
  if (settings.format == "mp4") {
    const CardFilm film = MakeCardVideo(request);
    SaveAsNew(film.mp4, settings.folder, film.stem, line.line, settings.format);
    return;
  }
  const CardResult result = MakeCard(request);
  const auto bytes = EncodeCardImage(result.picture, "card." + settings.format);
  SaveAsNew(bytes, settings.folder, result.stem, line.line, settings.format);
}

}  // namespace

int RunBatch(const RenderOptions& options) {
  if (options.format == "mp4") RequireFilmEncoder();
  NamesInput input = OpenNames(options.names);
  PrepareOutputFolder(options.out_dir);
  RemoveStaleTemporaries(options.out_dir);
  const int cores = DefaultThreadCount();
  const BatchPlan plan =
      PlanBatch(input.lines.value_or(SIZE_MAX), cores, options.jobs, options.threads);
  if (options.jobs > cores) {
    // Each card in flight holds its picture and strokes (about 7 MB) and waits for a core anyway.
    ConsoleMessage("--jobs " + std::to_string(options.jobs) + " is more than helps: at most " +
                   CountOf(static_cast<std::size_t>(cores), "card", "cards") +
                   " at a time, one per core");
  }
  const BatchSettings settings{options.out_dir, options.format,        options.address,
                               options.year,    plan.threads_per_card, SystemClock().Now()};
  ProgressBar progress(input.lines, !options.quiet);
  NameQueue names(input, progress);
  std::atomic<bool> write_failed{false};
  std::atomic<bool> disk_full{false};
  std::atomic<std::size_t> failed_for_space{0};
  // Each job takes names until none is left; a job whose thread did not start finds none.
  RunOnThreads(plan.jobs, [&](int) {
    while (const auto line = names.NextAccepted()) {
      const std::string where = "line " + std::to_string(line->line) + ": ";
      try {
        MakeAndSave(*line, settings);
      } catch (const FileError& error) {
        write_failed = true;
        const int number = error.error_number();
        if (number == ENOSPC || number == EDQUOT) {
          // The cards after it would fail the same way, each after its whole work.
          ++failed_for_space;
          names.Halt();
          if (disk_full.exchange(true)) break;
        }
        ConsoleMessage(where + error.what());
      } catch (const std::bad_alloc&) {
        ConsoleMessage(where + "out of memory");
        write_failed = true;
      } catch (const std::exception& error) {
        ConsoleMessage(where + error.what());
        write_failed = true;
      }
      if (disk_full) break;
      progress.LineDone();
    }
  });
  if (disk_full) {
    ConsoleMessage("the batch stopped at the full disk: " + names.NotMade(failed_for_space));
  }
  if (write_failed || names.unreadable()) return 1;
  return names.refused() ? 2 : 0;
}

}  // namespace card
