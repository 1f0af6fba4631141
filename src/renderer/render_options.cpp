#include "renderer/render_options.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <tuple>
#include <vector>

#include "about/version.h"
#include "about/version_notice.h"
#include "overlay/greeting.h"
#include "overlay/greeting_settings.h"
#include "platform/platform.h"
#include "renderer/card_files.h"
#include "renderer/standard_output.h"
#include "services/text.h"

namespace card {
namespace {

constexpr const char* kProgram = kRendererProgram;

// Within 80 columns, as a terminal shows it.
std::string Usage() {
  return R"(Usage: newyear-card-render [OPTION]... --name NAME --out FILE
  or:  newyear-card-render [OPTION]... --from-recipe RECIPE --out FILE
  or:  newyear-card-render [OPTION]... --names FILE --out-dir DIR
Make New-Year greeting cards without a window: the picture and greeting line
that the window draws for a name.

One card:
  -n, --name=NAME          the name as typed in the window: at most 100
                             characters, each a lowercase letter a to z or a
                             space ('' is the empty name)
  -o, --out=FILE           write the card to FILE (.bmp or .png); '-' writes
                             it to standard output in the --format
  -r, --recipe=FILE        also write the card's recipe as JSON: the name,
                             the seed, the twenty draws and what they give;
                             '-' writes it to standard output
  -R, --from-recipe=FILE   make the card from a recipe's name and draws, to
                             reproduce a card or force a formula (edit the
                             draws); at most 1 MiB

A batch:
  -l, --names=FILE         one card per line of FILE, exactly as typed (an
                             empty line is the empty name; a line ends with
                             LF or CR LF); '-' reads standard input. The list
                             is read as the cards are made.
  -d, --out-dir=DIR        put the cards in DIR, named like the window names
                             them and numbered by line:
                             T20261231235958-000007.png. A batch never
                             replaces a file: it adds -2, -3, ... to the
                             number when a name is taken
  -f, --format=FORMAT      bmp or png (default png), for a batch and --out -
  -j, --jobs=N             cards made side by side (default and most: one per
                             core)

Both:
  -t, --threads=N          threads that make each card (default: the cores
                             left over)
  -a, --address=TEXT       the web address that ends the greeting line
                             (default: )" +
         std::string(kProjectAddress) + R"()
  -y, --year=YEAR          the year the greeting wishes a happy new year, 1 to
                             4 digits (default: )" +
         std::string(kGreetingYear) + R"()
  -q, --quiet              show no progress bar
  -h, --help               show this help and exit
  -V, --version            show the version and exit

A card and its recipe are written in full before either is put in place, so a
failure changes neither. An existing file is replaced and keeps its mode; a
symbolic link is followed, except one put by another user in a sticky folder
that everyone may write in (/tmp). A folder, device, named pipe or socket in
the way is refused and left as it is. A refused line of a batch is reported
with its number and the other lines are still made.

Exit status: 0 when every card was written, 1 when a file could not be read
or written, 2 for a refused name or wrong options.
)";
}

constexpr int kMaxCount = 1024;
constexpr int kMaxAddressLength = 100;

int UsageError(const std::string& message) {
  std::cerr << kProgram << ": " << message << "\n"
            << "Try '" << kProgram << " --help' for more information.\n";
  return 2;
}

// --help and --version: their text on standard output, which may fail (a full disk, /dev/full).
int Show(const std::string& text) {
  try {
    WriteStandardOutput(text);
    return 0;
  } catch (const FileError& error) {
    std::cerr << kProgram << ": " << error.what() << "\n";
    return 1;
  }
}

std::optional<std::string> CheckCount(const std::string& text, const char* option, int& value) {
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || parsed < 1 || parsed > kMaxCount) {
    return std::string(option) + " takes a whole number from 1 to " + std::to_string(kMaxCount) +
           ", not '" + PrintableText(text) + "'";
  }
  value = static_cast<int>(parsed);
  return std::nullopt;
}

std::optional<std::string> CheckAddress(const std::string& address) {
  if (address.empty()) return "--address: the address is empty";
  std::size_t characters = 0;
  for (std::size_t pos = 0; pos < address.size(); ++characters) {
    const std::size_t start = pos;
    const char32_t c = DecodeUtf8(address, pos);
    const bool malformed = c == U'\uFFFD' && address.compare(start, 3, "\xEF\xBF\xBD") != 0;
    if (malformed || IsControlCharacter(c) || c == U'\uFFFD') {
      return "--address: the address may hold only printable characters";
    }
  }
  if (characters > static_cast<std::size_t>(kMaxAddressLength)) {
    return "--address: the address is longer than " + std::to_string(kMaxAddressLength) +
           " characters";
  }
  // Only what the greeting's typeface can print.
  if (auto refusal = CheckGreetingAddress(address)) return "--address: " + *refusal;
  return std::nullopt;
}

// What was given, before the values are checked.
struct Given {
  std::optional<std::string> name, out, recipe, from_recipe, names, out_dir, format, threads, jobs,
      address, year;
  bool quiet = false;
};

// The options that go together, once each has a valid value.
std::optional<std::string> CheckCombination(const Given& given, const RenderOptions& options) {
  if (options.batch()) {
    if (!given.out_dir) return "--names needs --out-dir";
    if (given.name || given.out || given.recipe || given.from_recipe) {
      return "--names makes a batch: --name, --out and the recipe options are for one card";
    }
    return std::nullopt;
  }
  if (given.out_dir) return "--out-dir goes with --names";
  if (given.jobs) return "--jobs goes with --names";
  if (!given.out) return "--out is required";
  if (options.out == "-") {
    if (options.recipe_out == "-") {
      return "the card and the recipe cannot both go to standard output";
    }
  } else {
    if (given.format) {
      return "--format goes with --names or --out -; a card file takes it from its name";
    }
    if (!IsSupportedImagePath(options.out)) {
      return "the output file must end in .bmp or .png: " + PrintableText(options.out);
    }
  }
  if (options.recipe_in.empty() && !options.name) return "--name or --from-recipe is required";
  if (!options.recipe_in.empty() && options.name) {
    return "--name and --from-recipe cannot be combined: the recipe names the card";
  }
  return std::nullopt;
}

std::optional<std::string> ReadValues(const Given& given, RenderOptions& options) {
  options.name = given.name;
  options.quiet = given.quiet;
  for (const auto& [text, option, what, value] :
       {std::tuple{&given.out, "--out", "file name", &options.out},
        {&given.recipe, "--recipe", "file name", &options.recipe_out},
        {&given.from_recipe, "--from-recipe", "file name", &options.recipe_in},
        {&given.names, "--names", "file name", &options.names},
        {&given.out_dir, "--out-dir", "folder name", &options.out_dir}}) {
    if (!*text) continue;
    if ((*text)->empty()) {
      // Built piece by piece: GCC 12 warns falsely about a chain of string concatenations here.
      std::string message = option;
      message += ": the ";
      message += what;
      return message + " is empty";
    }
    *value = **text;
  }
  // Standard output under any of its names is written as a stream, never replaced as a file.
  for (std::string* path : {&options.out, &options.recipe_out}) {
    if (IsStandardOutputName(*path)) path->assign(1, '-');
  }
  if (given.format) {
    options.format = *given.format;
    if (options.format != "bmp" && options.format != "png") {
      return "--format takes bmp or png, not '" + PrintableText(options.format) + "'";
    }
  }
  if (given.threads) {
    if (auto error = CheckCount(*given.threads, "--threads", options.threads)) return error;
  }
  if (given.jobs) {
    if (auto error = CheckCount(*given.jobs, "--jobs", options.jobs)) return error;
  }
  if (given.address) {
    if (auto error = CheckAddress(*given.address)) return error;
    options.address = *given.address;
  }
  if (given.year) {
    if (auto refusal = CheckGreetingYear(*given.year)) return "--year: " + *refusal;
    options.year = *given.year;
  }
  return CheckCombination(given, options);
}

const option kLongOptions[] = {
    {"name", required_argument, nullptr, 'n'},
    {"out", required_argument, nullptr, 'o'},
    {"recipe", required_argument, nullptr, 'r'},
    {"from-recipe", required_argument, nullptr, 'R'},
    {"names", required_argument, nullptr, 'l'},
    {"out-dir", required_argument, nullptr, 'd'},
    {"format", required_argument, nullptr, 'f'},
    {"jobs", required_argument, nullptr, 'j'},
    {"threads", required_argument, nullptr, 't'},
    {"address", required_argument, nullptr, 'a'},
    {"year", required_argument, nullptr, 'y'},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};
// The leading ':' makes a missing value its own case.
constexpr char kShortOptions[] = ":n:o:r:R:l:d:f:j:t:a:y:qhV";

// getopt's own messages are its wording, not ours: it stays quiet and this says what went wrong.
std::string OptionError(int result, const char* argument) {
  std::string given = argument != nullptr ? argument : "";
  const bool long_form = given.rfind("--", 0) == 0;
  if (long_form) given = given.substr(0, given.find('='));
  if (result == ':') {
    if (!long_form) given = {'-', static_cast<char>(optopt)};
    return "option '" + given + "' needs a value";
  }
  if (long_form && optopt != 0) return "option '" + given + "' takes no value";
  if (long_form) {
    std::string matches;
    for (const option& entry : kLongOptions) {
      if (entry.name != nullptr && std::string(entry.name).rfind(given.substr(2), 0) == 0) {
        matches += (matches.empty() ? "--" : ", --") + std::string(entry.name);
      }
    }
    if (given.size() > 2 && matches.find(',') != std::string::npos) {
      return "option '" + PrintableText(given) + "' is ambiguous: " + matches;
    }
    return "unknown option '" + PrintableText(given) + "'";
  }
  const char shown[] = {'-', static_cast<char>(optopt), '\0'};
  return "unknown option '" + PrintableText(shown) + "'";
}

}  // namespace

std::variant<RenderOptions, int> ParseRenderOptions(int argc, char** argv) {
  Given given;
  bool help = false;
  bool version = false;
  opterr = 0;
  optind = 1;
  for (;;) {
    const int current = optind;
    const int result = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr);
    if (result == -1) break;
    const std::string value = optarg != nullptr ? optarg : "";
    switch (result) {
      case 'n':
        given.name = value;
        break;
      case 'o':
        given.out = value;
        break;
      case 'r':
        given.recipe = value;
        break;
      case 'R':
        given.from_recipe = value;
        break;
      case 'l':
        given.names = value;
        break;
      case 'd':
        given.out_dir = value;
        break;
      case 'f':
        given.format = value;
        break;
      case 'j':
        given.jobs = value;
        break;
      case 't':
        given.threads = value;
        break;
      case 'a':
        given.address = value;
        break;
      case 'y':
        given.year = value;
        break;
      case 'q':
        given.quiet = true;
        break;
      case 'h':
        help = true;
        break;
      case 'V':
        version = true;
        break;
      default: {
        const int at = optind > current ? optind - 1 : current;
        return UsageError(OptionError(result, at < argc ? argv[at] : nullptr));
      }
    }
  }
  if (help) return Show(Usage());
  if (version) return Show(VersionNotice(kProgram));
  if (optind < argc) {
    return UsageError("unexpected argument '" + PrintableText(argv[optind]) +
                      "'; every value follows its option");
  }
  RenderOptions options;
  if (const auto error = ReadValues(given, options)) return UsageError(*error);
  return options;
}

}  // namespace card
