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
#include "renderer/batch_lines.h"
#include "renderer/batch_record.h"
#include "renderer/card_files.h"
#include "renderer/card_video.h"
#include "renderer/headless_card.h"
#include "renderer/name_lines.h"
#include "renderer/progress_console.h"
#include "scan/fast_scan.h"
#include "services/clock.h"
#include "services/text.h"
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
  input.shown = PrintableText(source);
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
  // Before anything is made: "shared/cards/" and "shared/cards/." lead through the link
  // "shared/cards" just as "shared/cards" does.
  CheckLinksOnTheWay(folder, folder, "cannot put the cards in");
  if (::mkdir(folder.c_str(), 0777) == 0) return;
  const int error = errno;
  struct stat info {};
  if (error == EEXIST && ::stat(folder.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return;
    throw FileError(folder, "it is a file, not a folder", 0, "cannot put the cards in");
  }
  throw FileError(folder, FileErrorReason(error, ParentDirectory(folder)), error,
                  "cannot create the folder");
}

// The names of the batch, handed to the jobs one accepted name at a time in the file's order;
// refused lines are reported and recorded as they are met.
class NameQueue {
 public:
  NameQueue(NamesInput& input, const RenderOptions& options, ProgressBar& progress,
            BatchRecord& record)
      : shown_(input.shown),
        total_(input.lines),
        lines_(*input.stream, options.shard, options.file_names),
        progress_(progress),
        record_(record) {}

  std::optional<PlannedLine> NextAccepted() {
    const std::lock_guard lock(mutex_);
    while (!stopped_) {
      std::optional<PlannedLine> line;
      try {
        line = lines_.Next();
      } catch (const NotAListOfNames& error) {
        const std::string why = error.what() + ("; " + NotRead(error.line()));
        ConsoleMessage(shown_ + " is not a list of names: " + why);
        if (lines_.shard().Makes(error.line())) {
          record_.Add(lines_.next_row(), {error.line(), {}, {}, LineOutcome::kRefused, why});
        }
        unreadable_ = true;
      }
      if (!line) break;
      read_ = static_cast<std::size_t>(line->line.line);
      if (line->refusal.empty()) return line;
      ConsoleMessage("line " + std::to_string(line->line.line) + ": refused: " + line->refusal);
      record_.Add(line->row,
                  {line->line.line, line->line.name, {}, LineOutcome::kRefused, line->refusal});
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
    const BatchShard& shard = lines_.shard();
    const std::size_t read = std::min<std::size_t>(read_, *total_);
    return CountOf(shard.LinesOf(*total_) - shard.LinesOf(read) + failed, "line was",
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
  BatchLines lines_;
  ProgressBar& progress_;
  BatchRecord& record_;
  std::size_t read_ = 0;  // the last line read
  std::atomic<bool> stopped_{false};
  bool refused_ = false;
  bool unreadable_ = false;
};

struct BatchSettings {
  std::string folder;
  std::string format;
  std::string address;
  std::string year;
  int threads_per_card = 1;
  LocalTime started;
  FileNaming naming = FileNaming::kTime;
  int scale = 1;
  int dpi = 0;
};

// The file name of a line's card at the `attempt`-th try.
std::string CardFileName(const PlannedLine& line, const std::string& stem,
                         const BatchSettings& settings, int attempt) {
  if (settings.naming == FileNaming::kName) {
    return PersonFileName(PersonStem(line.line.name), line.number + attempt - 1, settings.format);
  }
  return BatchFileName(stem, line.line.line, settings.format, attempt);
}

// Writes a card under the first free name for its line, and returns that name: a batch never
// replaces a file.
std::string SaveAsNew(const std::vector<std::uint8_t>& bytes, const PlannedLine& line,
                      const std::string& stem, const BatchSettings& settings) {
  const std::string first = settings.folder + "/" + CardFileName(line, stem, settings, 1);
  StagedFile file(first, bytes.data(), bytes.size(), StagedFile::Destination::kNew);
  for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
    std::string name = CardFileName(line, stem, settings, attempt);
    if (file.CommitAsNew(settings.folder + "/" + name)) return name;
  }
  throw FileError(first,
                  std::to_string(kMaxNameAttempts) + " files of this name are there already");
}

// Makes the line's card and returns the name of its file.
std::string MakeAndSave(const PlannedLine& line, const BatchSettings& settings) {
  CardRequest request{line.line.name, std::nullopt, settings.threads_per_card, settings.started};
  request.address = settings.address;
  request.year = settings.year;
  if (settings.format == "mp4") {
    const CardFilm film = MakeCardVideo(request);
    return SaveAsNew(film.mp4, line, film.stem, settings);
  }
  const CardResult result = MakeCard(request);
  const CardFileDetails details{settings.scale, settings.dpi, result.recipe.name, result.greeting};
  const auto bytes = EncodeCardImage(result.picture, "card." + settings.format, details);
  return SaveAsNew(bytes, line, result.stem, settings);
}

}  // namespace

int RunBatch(const RenderOptions& options) {
  if (options.format == "mp4") RequireFilmEncoder();
  NamesInput input = OpenNames(options.names);
  // The list would be replaced by its own record.
  if (!options.manifest.empty() && options.names != "-" &&
      SameDestination(options.names, options.manifest)) {
    ConsoleMessage("--names and --manifest lead to one file (" + options.names + " and " +
                   options.manifest + "); give the manifest its own");
    return 2;
  }
  if (!options.manifest.empty()) RemoveStaleTemporaries(ParentDirectory(options.manifest));
  // A manifest that cannot be started stops the batch before it makes a folder, unless the
  // manifest goes into that folder.
  std::optional<BatchRecord> opened_record;
  try {
    opened_record.emplace(options.manifest);
  } catch (const FileError& error) {
    if (error.error_number() != ENOENT) throw;
  }
  struct stat folder_info {};
  const bool folder_was_there = ::stat(options.out_dir.c_str(), &folder_info) == 0;
  PrepareOutputFolder(options.out_dir);
  RemoveStaleTemporaries(options.out_dir);
  if (!opened_record) {
    try {
      opened_record.emplace(options.manifest);
    } catch (const FileError&) {
      if (!folder_was_there) ::rmdir(options.out_dir.c_str());
      throw;
    }
  }
  BatchRecord& record = *opened_record;
  const std::optional<std::size_t> lines =
      input.lines ? std::optional(options.shard.LinesOf(*input.lines)) : std::nullopt;
  const int cores = DefaultThreadCount();
  const BatchPlan plan = PlanBatch(lines.value_or(SIZE_MAX), cores, options.jobs, options.threads);
  if (options.jobs > cores) {
    // Each card in flight holds its picture and strokes (about 7 MB) and waits for a core anyway.
    ConsoleMessage("--jobs " + std::to_string(options.jobs) + " is more than helps: at most " +
                   CountOf(static_cast<std::size_t>(cores), "card", "cards") +
                   " at a time, one per core");
  }
  const BatchSettings settings{
      options.out_dir,    options.format,        options.address,
      options.year,       plan.threads_per_card, options.time.value_or(SystemClock().Now()),
      options.file_names, options.scale,         options.dpi};
  std::atomic<bool> write_failed{false};
  std::atomic<bool> disk_full{false};
  std::atomic<std::size_t> failed_for_space{0};
  std::optional<ProgressBar> progress(std::in_place, lines, !options.quiet);
  NameQueue names(input, options, *progress, record);
  // Each job takes names until none is left; a job whose thread did not start finds none.
  RunOnThreads(plan.jobs, [&](int) {
    while (const auto line = names.NextAccepted()) {
      const std::string where = "line " + std::to_string(line->line.line) + ": ";
      ManifestRow row{line->line.line, line->line.name, {}, LineOutcome::kMade, {}};
      bool said_already = false;  // a full disk is said once, not for each card after it
      try {
        row.file = MakeAndSave(*line, settings);
      } catch (const FileError& error) {
        row.message = error.what();
        const int number = error.error_number();
        if (number == ENOSPC || number == EDQUOT) {
          // The cards after it would fail the same way, each after its whole work.
          ++failed_for_space;
          names.Halt();
          said_already = disk_full.exchange(true);
        }
      } catch (const std::bad_alloc&) {
        row.message = "out of memory";
      } catch (const std::exception& error) {
        row.message = error.what();
      }
      if (!row.message.empty()) {
        write_failed = true;
        row.outcome = LineOutcome::kFailed;
        if (!said_already) ConsoleMessage(where + row.message);
      }
      record.Add(line->row, std::move(row));
      if (record.failure()) names.Halt();
      if (disk_full) break;
      progress->LineDone();
    }
  });
  if (disk_full) {
    ConsoleMessage("the batch stopped at the full disk: " + names.NotMade(failed_for_space));
  }
  progress.reset();
  if (const auto failure = record.failure()) {
    ConsoleMessage("the batch stopped: " + *failure);
    write_failed = true;
  }
  record.Commit();
  if (!options.quiet) {
    const std::string shard = options.shard.whole()
                                  ? ""
                                  : "shard " + std::to_string(options.shard.index) + "/" +
                                        std::to_string(options.shard.count) + ": ";
    ConsoleMessage(shard + record.Summary());
  }
  if (write_failed || names.unreadable()) return 1;
  return names.refused() ? 2 : 0;
}

}  // namespace card
