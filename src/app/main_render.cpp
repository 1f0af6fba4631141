// The headless renderer: cards without a window, for scripts, tests and batches.
#include <sys/stat.h>
#include <unistd.h>

#include <QGuiApplication>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/headless_card.h"
#include "app/recipe_text.h"
#include "platform/qt/card_files.h"
#include "platform/qt/qt_text_renderer.h"
#include "render/fast_scan.h"
#include "seed/name_rules.h"

namespace {

constexpr char kUsage[] =
    R"(Usage: newyear-card-render --name NAME --out CARD.bmp|CARD.png [--recipe RECIPE.json]
       newyear-card-render --from-recipe RECIPE.json --out CARD.bmp|CARD.png [--recipe OUT.json]
       newyear-card-render --names FILE|- --out-dir DIR [--format bmp|png] [--jobs N]

Makes greeting cards without opening a window: the same picture and greeting line that the
window draws for a name.

One card:
  --name NAME          the name as typed in the window's dialog: at most 100 characters, each a
                       lowercase letter a to z or a space ('' is the empty name)
  --out FILE           where to write the card; .bmp or .png
  --recipe FILE        also write the card's recipe (name, seed, the twenty draws and the
                       parameters derived from them) as JSON
  --from-recipe FILE   make the card from a recipe's name and draws instead of the generator, to
                       reproduce a card or force a formula by editing its draws
  --threads N          threads that make the card (default: one per core)

A batch:
  --names FILE         one card per line of FILE, the line being the name exactly as typed (an
                       empty line is the empty name); '-' reads the names from standard input
  --out-dir DIR        where the cards go, named like the window names them followed by the
                       line number: T20261231235958-007.png
  --format bmp|png     the cards' format (default png)
  --jobs N             cards made side by side (default: one per core)

  --help               show this text

Exit status: 0 when every card was written, 1 when a file could not be read or written, 2 for a
refused name or wrong options (in a batch the other names are still made).
)";

struct Options {
  std::optional<std::string> name;
  std::string out;
  std::string recipe_out;
  std::string recipe_in;
  std::string names;
  std::string out_dir;
  std::string format = "png";
  int threads = 0;
  int jobs = 0;
};

int UsageError(const std::string& message) {
  std::cerr << "newyear-card-render: " << message << "\n"
            << "Try 'newyear-card-render --help'.\n";
  return 2;
}

bool ParseCount(const std::string& text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || parsed < 1 || parsed > 1024) return false;
  value = static_cast<int>(parsed);
  return true;
}

// Parses the command line; returns an exit status when the program should stop right away.
std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    const auto value = [&](std::string& target) {
      if (k + 1 >= args.size()) return false;
      target = args[++k];
      return true;
    };
    std::string text;
    if (arg == "--name") {
      if (!value(text)) return UsageError("--name needs a value");
      options.name = text;
    } else if (arg == "--out") {
      if (!value(options.out)) return UsageError("--out needs a file name");
    } else if (arg == "--recipe") {
      if (!value(options.recipe_out)) return UsageError("--recipe needs a file name");
    } else if (arg == "--from-recipe") {
      if (!value(options.recipe_in)) return UsageError("--from-recipe needs a file name");
    } else if (arg == "--names") {
      if (!value(options.names)) return UsageError("--names needs a file name or -");
    } else if (arg == "--out-dir") {
      if (!value(options.out_dir)) return UsageError("--out-dir needs a folder");
    } else if (arg == "--format") {
      if (!value(options.format) || (options.format != "bmp" && options.format != "png")) {
        return UsageError("--format takes bmp or png");
      }
    } else if (arg == "--threads") {
      if (!value(text) || !ParseCount(text, options.threads)) {
        return UsageError("--threads takes a whole number from 1 to 1024");
      }
    } else if (arg == "--jobs") {
      if (!value(text) || !ParseCount(text, options.jobs)) {
        return UsageError("--jobs takes a whole number from 1 to 1024");
      }
    } else {
      return UsageError("unknown option '" + arg + "'");
    }
  }
  const bool batch = !options.names.empty();
  if (batch) {
    if (options.out_dir.empty()) return UsageError("--names needs --out-dir");
    if (options.name || !options.out.empty() || !options.recipe_in.empty() ||
        !options.recipe_out.empty()) {
      return UsageError(
          "--names makes a batch: --name, --out and the recipe options are for one card");
    }
    return std::nullopt;
  }
  if (!options.out_dir.empty()) return UsageError("--out-dir goes with --names");
  if (options.out.empty()) return UsageError("--out is required");
  if (!card::IsSupportedImagePath(options.out)) {
    return UsageError("the output file must end in .bmp or .png: " + options.out);
  }
  if (options.recipe_in.empty() && !options.name) return UsageError("--name is required");
  if (!options.recipe_in.empty() && options.name) {
    return UsageError("--name and --from-recipe cannot be combined: the recipe names the card");
  }
  return std::nullopt;
}

int MakeOneCard(const Options& options) {
  card::CardRequest request;
  if (!options.recipe_in.empty()) {
    card::RecipeInput recipe = card::ReadRecipe(options.recipe_in);
    request.name = recipe.name;
    request.draws = std::move(recipe.draws);
  } else {
    request.name = *options.name;
  }
  if (const auto refusal = card::CheckName(request.name)) {
    std::cerr << "newyear-card-render: refused name: " << card::DescribeRefusal(*refusal) << "\n";
    return 2;
  }
  request.threads = options.threads > 0 ? options.threads : card::DefaultThreadCount();
  card::QtTextRenderer text;
  const card::CardResult result = card::MakeCard(request, &text);
  card::WriteCardImage(result.picture, options.out);
  if (!options.recipe_out.empty()) {
    card::WriteTextFile(options.recipe_out, card::RecipeToJson(result.recipe));
  }
  return 0;
}

std::string ReadNames(const std::string& source) {
  if (source == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  std::ifstream file(source, std::ios::binary);
  if (!file) {
    throw card::CardFileError("cannot read names file " + source + ": " + std::strerror(errno));
  }
  // A folder opens like a file and then reads as empty: it would pass for a list of no names.
  struct stat info {};
  if (::stat(source.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    throw card::CardFileError("cannot read names file " + source + ": " + std::strerror(EISDIR));
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) throw card::CardFileError("cannot read names file " + source);
  return text.str();
}

// A progress bar on a terminal: cards done, total and time left.
class Progress {
 public:
  explicit Progress(std::size_t total) : total_(total), shown_(isatty(STDERR_FILENO) == 1) {}
  void CardDone() {
    const std::size_t done = ++done_;
    if (!shown_) return;
    const std::lock_guard lock(mutex_);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double left = elapsed / static_cast<double>(done) * static_cast<double>(total_ - done);
    const int width = 30;
    const auto filled = static_cast<int>(width * done / total_);
    std::fprintf(stderr, "\r[%s%s] %zu/%zu cards, %.0f s left ", std::string(filled, '#').c_str(),
                 std::string(width - filled, '.').c_str(), done, total_, left);
    if (done == total_) std::fprintf(stderr, "\n");
  }

 private:
  std::size_t total_;
  bool shown_;
  std::atomic<std::size_t> done_{0};
  std::mutex mutex_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

int MakeBatch(const Options& options) {
  const std::string text = ReadNames(options.names);
  const auto lines = card::SplitNames(text);
  if (!lines) {
    throw card::CardFileError(
        (options.names == "-" ? std::string("standard input") : options.names) +
        " is not a list of names: it holds binary data or is not UTF-8 text");
  }
  int status = 0;
  std::vector<card::BatchName> accepted;
  for (const card::BatchName& line : *lines) {
    if (const auto refusal = card::CheckName(line.name)) {
      std::cerr << "newyear-card-render: line " << line.line
                << ": refused name: " << card::DescribeRefusal(*refusal) << "\n";
      status = 2;
    } else {
      accepted.push_back(line);
    }
  }
  const card::LocalTime started = card::SystemClock().Now();
  const card::BatchPlan plan =
      card::PlanBatch(accepted.size(), card::DefaultThreadCount(), options.jobs);
  const int last_line = lines->empty() ? 1 : lines->back().line;
  if (::mkdir(options.out_dir.c_str(), 0777) != 0 && errno != EEXIST) {
    throw card::CardFileError("cannot create the folder " + options.out_dir + ": " +
                              std::strerror(errno));
  }
  Progress progress(accepted.size());
  std::mutex errors;
  std::atomic<bool> write_failed{false};
  card::RunInParallel(accepted.size(), plan.jobs, [&](std::size_t index) {
    const card::BatchName& line = accepted[index];
    card::CardRequest request{line.name, std::nullopt, plan.threads_per_card, started};
    thread_local card::QtTextRenderer text;
    const card::CardResult result = card::MakeCard(request, &text);
    const std::string path = options.out_dir + "/" +
                             card::BatchFileName(result.stem, line.line, last_line, options.format);
    try {
      card::WriteCardImage(result.picture, path);
    } catch (const card::CardFileError& error) {
      const std::lock_guard lock(errors);
      std::cerr << "newyear-card-render: line " << line.line << ": " << error.what() << "\n";
      write_failed = true;
    }
    progress.CardDone();
  });
  return write_failed ? 1 : status;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const auto stop = ParseOptions(argc, argv, options)) return *stop;

  // Text needs Qt's fonts but no display. Without a desktop session the offscreen platform
  // complains about a missing runtime directory that the renderer never uses.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) return;
    if (type != QtDebugMsg) std::cerr << message.toStdString() << "\n";
  });
  QGuiApplication application(argc, argv);

  try {
    return options.names.empty() ? MakeOneCard(options) : MakeBatch(options);
  } catch (const card::CardFileError& error) {
    std::cerr << "newyear-card-render: " << error.what() << "\n";
    return 1;
  }
}
