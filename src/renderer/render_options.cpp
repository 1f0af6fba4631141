#include "renderer/render_options.h"

#include <getopt.h>
#include <unistd.h>

#include <array>
#include <string_view>
#include <tuple>

#include "about/version.h"
#include "about/version_notice.h"
#include "overlay/greeting.h"
#include "overlay/greeting_settings.h"
#include "platform/platform.h"
#include "raster/print_resolution.h"
#include "renderer/card_files.h"
#include "renderer/card_video.h"
#include "renderer/manifest_rows.h"
#include "renderer/progress_console.h"
#include "renderer/standard_output.h"
#include "services/text.h"

namespace card {
namespace {

constexpr const char* kProgram = kRendererProgram;

// Every option once: getopt's tables, the checks and --help are made from it. The bash completion
// reads --help, and a test holds the manual page to it.
namespace opt {
enum Id : std::size_t {
  kName,
  kOut,
  kVideo,
  kRecipe,
  kFromRecipe,
  kNames,
  kOutDir,
  kFileNames,
  kManifest,
  kShard,
  kTime,
  kFormat,
  kJobs,
  kThreads,
  kAddress,
  kYear,
  kScale,
  kDpi,
  kQuiet,
  kHelp,
  kVersion,
  kCount
};
}  // namespace opt
using OptionId = opt::Id;

enum class Section { kOneCard, kBatch, kBoth };

struct OptionRow {
  OptionId id;
  const char* long_name;
  char letter;
  const char* value;  // what --help calls the value; nullptr: the option takes none
  Section section;
  const char* help;  // one paragraph, wrapped by Usage()
};

constexpr OptionRow kOptions[] = {
    {opt::kName, "name", 'n', "NAME", Section::kOneCard,
     "the name as typed in the window: at most 100 characters, each a lowercase letter a to z or "
     "a space ('' is the empty name)"},
    {opt::kOut, "out", 'o', "FILE", Section::kOneCard,
     "write the card to FILE (.bmp or .png); '-' writes it to standard output in the --format"},
    {opt::kVideo, "video", 'v', "FILE", Section::kOneCard,
     "also, or instead of --out, write the card's growth as a video to FILE (.mp4): H.264, "
     "1400 x 1050 (each pixel a 2 x 2 square), 30 frames a second; the rows grow from the top "
     "for three seconds as in the window, then the finished card stays for two"},
    {opt::kRecipe, "recipe", 'r', "FILE", Section::kOneCard,
     "also write the card's recipe as JSON: the name, the seed, the twenty draws and what they "
     "give; '-' writes it to standard output"},
    {opt::kFromRecipe, "from-recipe", 'R', "FILE", Section::kOneCard,
     "make the card from a recipe's name and draws, to reproduce a card or force a formula (edit "
     "the draws); at most 1 MiB"},
    {opt::kNames, "names", 'l', "FILE", Section::kBatch,
     "one card per line of FILE, exactly as typed (an empty line is the empty name; a line ends "
     "with LF or CR LF); '-' reads standard input. The list is read as the cards are made."},
    {opt::kOutDir, "out-dir", 'd', "DIR", Section::kBatch,
     "put the cards in DIR, named as --file-names says. A batch never replaces a file: when a "
     "name is taken it adds -2, -3, ..., or the next number free"},
    {opt::kFileNames, "file-names", 'F', "STYLE", Section::kBatch,
     "time (default): the window's time stamp and the line number, T20261231235958-000007.png; "
     "name: the name with hyphens for spaces, ana-marija.png, card.png for the empty name, and "
     "-2, -3, ... for the second and third card of one name in the list"},
    {opt::kManifest, "manifest", 'm', "FILE", Section::kBatch,
     "record every line in FILE, CSV for a mail merge (.csv) or JSON Lines (.jsonl): its number, "
     "the name, the card's file, and made, refused or failed with the reason. Written as the "
     "cards are made, put in place when the batch ends"},
    {opt::kShard, "shard", 'k', "K/N", Section::kBatch,
     "make only part K of N (K from 0 to N-1): the lines whose number minus 1 leaves K when "
     "divided by N, so part 0 has line 1. Each part names its cards and manifest rows as the "
     "whole batch would, and so it needs the names of --file-names name or the one stamp of "
     "--time"},
    {opt::kTime, "time", 'T', "STAMP", Section::kBatch,
     "the time in the file names, YYYYMMDDhhmmss as in T20261231235958 (default: when the batch "
     "starts); give every shard the same"},
    {opt::kFormat, "format", 'f', "FORMAT", Section::kBatch,
     "bmp, png or mp4 (default png), for a batch (mp4: videos, each as --video makes it) and "
     "for --out - (bmp or png)"},
    {opt::kJobs, "jobs", 'j', "N", Section::kBatch,
     "cards made side by side (default and most: one per core)"},
    {opt::kThreads, "threads", 't', "N", Section::kBoth,
     "threads that make each card (default: the cores left over)"},
    {opt::kAddress, "address", 'a', "TEXT", Section::kBoth,
     "the web address that ends the greeting line (default: @ADDRESS@)"},
    {opt::kYear, "year", 'y', "YEAR", Section::kBoth,
     "the year the greeting wishes a happy new year, 1 to 4 digits (default: @YEAR@)"},
    {opt::kScale, "scale", 's', "N", Section::kBoth,
     "make each pixel of the card an N x N square, 1 to 8, for print (default 1: 700 x 525 "
     "pixels)"},
    {opt::kDpi, "dpi", 'D', "DPI", Section::kBoth,
     "the resolution written into the file, 1 to 10000 dots per inch (default: 300 with --scale; "
     "without it none in a PNG and 72 in a BMP)"},
    {opt::kQuiet, "quiet", 'q', nullptr, Section::kBoth,
     "show no progress bar and no summary at the end of a batch"},
    {opt::kHelp, "help", 'h', nullptr, Section::kBoth, "show this help and exit"},
    {opt::kVersion, "version", 'V', nullptr, Section::kBoth, "show the version and exit"},
};
static_assert(std::size(kOptions) == opt::kCount, "one table row for each option");
constexpr bool RowsInEnumOrder() {
  for (std::size_t i = 0; i < std::size(kOptions); ++i) {
    if (kOptions[i].id != i) return false;
  }
  return true;
}
static_assert(RowsInEnumOrder(), "the table's rows in the order of opt::Id, which indexes them");

constexpr std::size_t kHelpColumn = 27;  // where the first line of an option's help starts
constexpr std::size_t kHelpIndent = 29;  // and where its further lines start
constexpr std::size_t kColumns = 79;     // within a terminal of 80 columns, clear of its last

// "  -n, --name=NAME" and its help, wrapped within the terminal's width.
std::string OptionUsage(const OptionRow& row) {
  std::string line = std::string("  -") + row.letter + ", --" + row.long_name;
  if (row.value != nullptr) line += std::string("=") + row.value;
  std::string text = row.help;
  for (const auto& [placeholder, value] :
       {std::pair{std::string_view("@ADDRESS@"), std::string_view(kProjectAddress)},
        {std::string_view("@YEAR@"), std::string_view(kGreetingYear)}}) {
    if (const auto at = text.find(placeholder); at != std::string::npos) {
      text.replace(at, placeholder.size(), value);
    }
  }
  std::string out;
  std::size_t column = kHelpColumn;
  if (line.size() + 1 >= kHelpColumn) {
    out += line + "\n";
    line.assign(kHelpIndent, ' ');
    column = kHelpIndent;
  }
  line.resize(column, ' ');
  bool first_word = true;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t space = text.find(' ', pos);
    const std::string word = text.substr(pos, space == std::string::npos ? space : space - pos);
    pos = space == std::string::npos ? text.size() : space + 1;
    if (!first_word && line.size() + 1 + word.size() > kColumns) {
      out += line + "\n";
      line.assign(kHelpIndent, ' ');
      first_word = true;
    }
    if (!first_word) line += ' ';
    line += word;
    first_word = false;
  }
  return out + line + "\n";
}

std::string Usage() {
  std::string usage = std::string("Usage: ") + kProgram +
                      " [OPTION]... --name NAME --out FILE\n"
                      "  or:  " +
                      kProgram +
                      " [OPTION]... --from-recipe RECIPE --out FILE\n"
                      "  or:  " +
                      kProgram +
                      " [OPTION]... --names FILE --out-dir DIR\n"
                      "Make New-Year greeting cards without a window: the picture and greeting "
                      "line\nthat the window draws for a name, and videos of the cards growing "
                      "as they do\nin the window.\n";
  for (const auto& [section, title] : {std::pair{Section::kOneCard, "One card:"},
                                       {Section::kBatch, "A batch:"},
                                       {Section::kBoth, "Both:"}}) {
    usage += std::string("\n") + title + "\n";
    for (const OptionRow& row : kOptions) {
      if (row.section == section) usage += OptionUsage(row);
    }
  }
  return usage + R"(
A card, its recipe and its video are written in full before any of them is
put in place, so a failure changes none. An existing file is replaced and
keeps its mode; a symbolic link is followed, except one that belongs to another
user in a sticky folder that everyone may write in (/tmp). A folder, device,
named pipe or socket in the way is refused and left as it is. A name that leads
to a stream the program was given open (/dev/stdout, /dev/fd/3 with 3>>log) is
written as that stream. A refused line of a batch is reported with its number
and the other lines are still made.

Exit status: 0 when every card was written, 1 when a file could not be read
or written, 2 for a refused name or wrong options.
)";
}

constexpr int kMaxCount = 1024;
// What a scaled card claims when --dpi does not say: a common print resolution.
constexpr int kPrintDotsPerInch = 300;

int UsageError(const std::string& message) {
  ConsoleText(std::string(kProgram) + ": " + message + "\nTry '" + kProgram +
              " --help' for more information.\n");
  return 2;
}

// --help and --version: their text on standard output, which may fail (a full disk, /dev/full).
int Show(const std::string& text) {
  try {
    WriteStandardOutput(text);
    return 0;
  } catch (const FileError& error) {
    ConsoleMessage(error.what());
    return 1;
  }
}

std::string Dashed(OptionId id) {
  return std::string("--") + kOptions[id].long_name;
}

// A count is plain decimal digits: no sign, no spaces, no leading zero (010 is not 8 or 10).
std::optional<std::string> CheckCount(const std::string& text, OptionId id, int& value,
                                      int most = kMaxCount) {
  const bool digits = !text.empty() && text.size() <= 6 && text[0] != '0' &&
                      text.find_first_not_of("0123456789") == std::string::npos;
  const int parsed = digits ? std::stoi(text) : 0;
  if (!digits || parsed > most) {
    return Dashed(id) + " takes a whole number from 1 to " + std::to_string(most) + ", not '" +
           PrintableText(text) + "'";
  }
  value = parsed;
  return std::nullopt;
}

// What was given, by option, before the values are checked.
using Given = std::array<std::optional<std::string>, opt::kCount>;

// The options that go together, once each has a valid value.
std::optional<std::string> CheckCombination(const Given& given, const RenderOptions& options) {
  if (options.batch()) {
    if (!given[opt::kOutDir]) return "--names needs --out-dir";
    if (given[opt::kName] || given[opt::kOut] || given[opt::kVideo] || given[opt::kRecipe] ||
        given[opt::kFromRecipe]) {
      return "--names makes a batch: --name, --out, --video and the recipe options are for one "
             "card";
    }
    if (!options.shard.whole() && options.file_names == FileNaming::kTime && !options.time) {
      return "--shard needs --file-names name, or --time with one stamp for every shard, so that "
             "each shard names its cards as the whole batch would";
    }
    return std::nullopt;
  }
  for (const OptionId id :
       {opt::kOutDir, opt::kJobs, opt::kFileNames, opt::kManifest, opt::kShard, opt::kTime}) {
    if (given[id]) return Dashed(id) + " goes with --names";
  }
  if (!given[opt::kOut] && !given[opt::kVideo]) return "--out or --video is required";
  if (const auto card = options.out_stream) {
    if (const auto recipe = options.recipe_stream; recipe && SameOpenFile(*card, *recipe)) {
      return "the card and the recipe cannot both go to " + StreamName(*card) +
             (*card == *recipe ? "" : " and " + StreamName(*recipe) + ", which are one file");
    }
    // A picture's bytes would only garble the screen, as any compressor's would.
    if (::isatty(*card) == 1) {
      return "refusing to write a card to a terminal; redirect " + StreamName(*card) +
             " or give --out FILE";
    }
    if (options.format == "mp4") {
      return "--out - writes the picture, as bmp or png; a video goes to a file with --video";
    }
  } else {
    if (given[opt::kFormat]) {
      return "--format goes with --names or --out -; a card file takes it from its name";
    }
    if (given[opt::kOut] && !IsSupportedImagePath(options.out)) {
      return "the output file must end in .bmp or .png: " + PrintableText(options.out);
    }
  }
  if (given[opt::kVideo]) {
    // The index goes at the front once the whole film is made: a video is never streamed.
    if (options.video == "-" || OpenStreamAt(options.video)) {
      return "--video writes a file, not standard output or another stream";
    }
    if (!IsVideoPath(options.video)) {
      return "the video file must end in .mp4: " + PrintableText(options.video);
    }
  }
  if (options.recipe_in.empty() && !options.name) return "--name or --from-recipe is required";
  if (!options.recipe_in.empty() && options.name) {
    return "--name and --from-recipe cannot be combined: the recipe names the card";
  }
  return std::nullopt;
}

// "20261231235958" or "T20261231235958", a moment that the calendar has.
std::optional<LocalTime> ParseStamp(std::string_view text) {
  if (text.starts_with('T')) text.remove_prefix(1);
  if (text.size() != 14 || text.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  const auto field = [&](std::size_t at, std::size_t digits) {
    return std::stoi(std::string(text.substr(at, digits)));
  };
  const LocalTime time{field(0, 4), field(4, 2),  field(6, 2),
                       field(8, 2), field(10, 2), field(12, 2)};
  constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = time.year % 4 == 0 && (time.year % 100 != 0 || time.year % 400 == 0);
  if (time.year < 1 || time.month < 1 || time.month > 12 || time.day < 1 ||
      time.day > kDays[time.month - 1] || (time.month == 2 && time.day == 29 && !leap) ||
      time.hour > 23 || time.minute > 59 || time.second > 59) {
    return std::nullopt;
  }
  return time;
}

// The options that say how a batch names, records and shares its cards.
std::optional<std::string> ReadBatchValues(const Given& given, RenderOptions& options) {
  if (given[opt::kFileNames]) {
    if (*given[opt::kFileNames] == "name") {
      options.file_names = FileNaming::kName;
    } else if (*given[opt::kFileNames] != "time") {
      return "--file-names takes time or name, not '" + PrintableText(*given[opt::kFileNames]) +
             "'";
    }
  }
  if (ManifestFormat format{};
      !options.manifest.empty() && !ManifestFormatOf(options.manifest, format)) {
    return "--manifest: the file name must end in .csv or .jsonl: " +
           PrintableText(options.manifest);
  }
  if (given[opt::kShard]) {
    const auto shard = ParseShard(*given[opt::kShard]);
    if (!shard) {
      return "--shard takes K/N, part K of N parts (K from 0 to N-1, N at most " +
             std::to_string(kMaxShards) + "), not '" + PrintableText(*given[opt::kShard]) + "'";
    }
    options.shard = *shard;
  }
  if (given[opt::kTime]) {
    options.time = ParseStamp(*given[opt::kTime]);
    if (!options.time) {
      return "--time takes a moment as YYYYMMDDhhmmss, like 20261231235958, not '" +
             PrintableText(*given[opt::kTime]) + "'";
    }
  }
  return std::nullopt;
}

std::optional<std::string> ReadValues(const Given& given, RenderOptions& options) {
  options.name = given[opt::kName];
  options.quiet = given[opt::kQuiet].has_value();
  for (const auto& [id, what, value] : {std::tuple{opt::kOut, "file name", &options.out},
                                        {opt::kVideo, "file name", &options.video},
                                        {opt::kRecipe, "file name", &options.recipe_out},
                                        {opt::kFromRecipe, "file name", &options.recipe_in},
                                        {opt::kNames, "file name", &options.names},
                                        {opt::kOutDir, "folder name", &options.out_dir},
                                        {opt::kManifest, "file name", &options.manifest}}) {
    if (!given[id]) continue;
    if (given[id]->empty()) return Dashed(id) + ": the " + what + " is empty";
    *value = *given[id];
  }
  // Standard output under any of its names, and any other destination the program was given open
  // (3>>log), is written as a stream, never replaced as a file.
  if (!options.out.empty()) options.out_stream = OpenStreamAt(options.out);
  if (!options.recipe_out.empty()) options.recipe_stream = OpenStreamAt(options.recipe_out);
  // A stream under a picture's name (a link card.png to /dev/stdout) takes its format from it.
  if (options.out_stream && options.out != "-" && IsSupportedImagePath(options.out)) {
    options.format = options.out.substr(options.out.size() - 3);
    for (char& c : options.format) c = static_cast<char>(c | 0x20);
  }
  if (given[opt::kFormat]) {
    options.format = *given[opt::kFormat];
    if (options.format != "bmp" && options.format != "png" && options.format != "mp4") {
      return "--format takes bmp, png or mp4, not '" + PrintableText(options.format) + "'";
    }
  }
  if (given[opt::kThreads]) {
    if (auto error = CheckCount(*given[opt::kThreads], opt::kThreads, options.threads))
      return error;
  }
  if (given[opt::kJobs]) {
    if (auto error = CheckCount(*given[opt::kJobs], opt::kJobs, options.jobs)) return error;
  }
  if (auto error = ReadBatchValues(given, options)) return error;
  if (given[opt::kScale]) {
    if (auto error = CheckCount(*given[opt::kScale], opt::kScale, options.scale, kMaxPrintScale))
      return error;
    options.dpi = kPrintDotsPerInch;
  }
  if (given[opt::kDpi]) {
    if (auto error = CheckCount(*given[opt::kDpi], opt::kDpi, options.dpi, kMaxDotsPerInch))
      return error;
  }
  if (given[opt::kAddress]) {
    if (auto refusal = CheckGreetingAddress(*given[opt::kAddress])) return "--address: " + *refusal;
    options.address = *given[opt::kAddress];
  }
  if (given[opt::kYear]) {
    if (auto refusal = CheckGreetingYear(*given[opt::kYear])) return "--year: " + *refusal;
    options.year = *given[opt::kYear];
  }
  return CheckCombination(given, options);
}

// getopt's tables, made from the option table: the long options and "n:o:...qhV".
struct GetoptTables {
  std::array<option, opt::kCount + 1> long_options{};
  std::string short_options = ":";  // the leading ':' makes a missing value its own case

  GetoptTables() {
    for (std::size_t i = 0; i < opt::kCount; ++i) {
      const OptionRow& row = kOptions[i];
      long_options[i] = {row.long_name, row.value != nullptr ? required_argument : no_argument,
                         nullptr, row.letter};
      short_options += row.letter;
      if (row.value != nullptr) short_options += ':';
    }
  }
};

const OptionRow* FindByLetter(int letter) {
  for (const OptionRow& row : kOptions) {
    if (row.letter == letter) return &row;
  }
  return nullptr;
}

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
    for (const OptionRow& row : kOptions) {
      if (std::string_view(row.long_name).starts_with(std::string_view(given).substr(2))) {
        matches += (matches.empty() ? "--" : ", --") + std::string(row.long_name);
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

// A value given as the next argument that is itself one of the options ("--name --out e.png") is
// most likely a forgotten value, not a name or file called "--out".
bool LooksLikeOption(std::string_view value) {
  if (!value.starts_with("--")) return false;
  const std::string_view name = value.substr(2, value.find('=') - 2);
  for (const OptionRow& row : kOptions) {
    if (!name.empty() && std::string_view(row.long_name).starts_with(name)) return true;
  }
  return false;
}

}  // namespace

std::variant<RenderOptions, int> ParseRenderOptions(int argc, char** argv) {
  static const GetoptTables tables;
  Given given;
  opterr = 0;
  optind = 1;
  for (;;) {
    const int current = optind;
    const int result =
        getopt_long(argc, argv, tables.short_options.c_str(), tables.long_options.data(), nullptr);
    if (result == -1) break;
    const OptionRow* row = FindByLetter(result);
    if (row == nullptr) {
      const int at = optind > current ? optind - 1 : current;
      return UsageError(OptionError(result, at < argc ? argv[at] : nullptr));
    }
    const std::string value = optarg != nullptr ? optarg : "";
    // The value came as its own argument when getopt stepped over two.
    const bool separate_value =
        optarg != nullptr && optind - current == 2 && optarg == argv[optind - 1];
    if (separate_value && LooksLikeOption(value)) {
      return UsageError("option '" + Dashed(row->id) + "' needs a value before '" +
                        PrintableText(value) + "' (write " + Dashed(row->id) + "=" +
                        PrintableText(value) + " if that is the value)");
    }
    if (given[row->id] && row->id != opt::kHelp && row->id != opt::kVersion) {
      return UsageError("option '" + Dashed(row->id) + "' is given twice");
    }
    given[row->id] = value;
  }
  if (given[opt::kHelp]) return Show(Usage());
  if (given[opt::kVersion]) return Show(VersionNotice(kProgram));
  if (optind < argc) {
    return UsageError("unexpected argument '" + PrintableText(argv[optind]) +
                      "'; every value follows its option");
  }
  RenderOptions options;
  if (const auto error = ReadValues(given, options)) return UsageError(*error);
  return options;
}

}  // namespace card
