#include "renderer/qt/render_options.h"

#include <QCommandLineParser>
#include <iostream>
#include <tuple>

#include "overlay/greeting.h"
#include "platform/qt/version_notice.h"
#include "renderer/qt/card_files.h"

namespace card {
namespace {

std::string Usage() {
  return R"(Usage: newyear-card-render --name NAME --out CARD.bmp|CARD.png [--recipe RECIPE.json]
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
                       reproduce a card or force a formula by editing its draws (at most 1 MiB)

  The card and the recipe are written completely before either is put in place, so a failure
  changes neither file. An existing file is replaced and keeps its permissions; a new one gets
  them from the umask. A symbolic link is followed and the file it points to is replaced. A
  folder, device, named pipe or socket in the way is refused and left as it is.

A batch:
  --names FILE         one card per line of FILE, the line being the name exactly as typed (an
                       empty line is the empty name, a line ends with LF or CR LF); '-' reads the
                       names from standard input. The lines are read as the cards are made, so a
                       batch starts at once whatever the length of the list.
  --out-dir DIR        where the cards go, named like the window names them followed by the line
                       number in six digits: T20261231235958-000007.png. A batch never replaces a
                       file: when the name is taken (another batch in the same second), the card
                       gets "-2", "-3", ... after the line number: T20261231235958-000007-2.png
  --format bmp|png     the cards' format (default png)
  --jobs N             cards made side by side (default: one per core)

Both:
  --threads N          threads that make each card (default: the cores left over)
  --address TEXT       the web address at the end of the greeting line (default: )" +
         std::string(kProjectAddress) + R"()
  --help               show this text
  --version            show the version

Exit status: 0 when every card was written, 1 when a file could not be read or written, 2 for a
refused name or wrong options (in a batch the other names are still made).
)";
}

constexpr int kMaxCount = 1024;
constexpr int kMaxAddressLength = 100;

int UsageError(const std::string& message) {
  std::cerr << "newyear-card-render: " << message << "\n"
            << "Try 'newyear-card-render --help'.\n";
  return 2;
}

std::optional<std::string> CheckCount(const QString& text, const char* option, int& value) {
  bool ok = false;
  const int parsed = text.toInt(&ok);
  if (!ok || parsed < 1 || parsed > kMaxCount) {
    return std::string(option) + " takes a whole number from 1 to " + std::to_string(kMaxCount) +
           ", not '" + text.toStdString() + "'";
  }
  value = parsed;
  return std::nullopt;
}

std::optional<std::string> CheckAddress(const QString& address) {
  if (address.isEmpty()) return "--address: the address is empty";
  if (address.size() > kMaxAddressLength) {
    return "--address: the address is longer than " + std::to_string(kMaxAddressLength) +
           " characters";
  }
  for (const QChar c : address) {
    if (c.category() == QChar::Other_Control || c.isSurrogate() ||
        c == QChar::ReplacementCharacter) {
      return "--address: the address may hold only printable characters";
    }
  }
  return std::nullopt;
}

// The options that go together, once each has a valid value.
std::optional<std::string> CheckCombination(const QCommandLineParser& parser,
                                            const RenderOptions& options) {
  if (options.batch()) {
    if (!parser.isSet("out-dir")) return "--names needs --out-dir";
    if (options.name || parser.isSet("out") || parser.isSet("recipe") ||
        parser.isSet("from-recipe")) {
      return "--names makes a batch: --name, --out and the recipe options are for one card";
    }
    return std::nullopt;
  }
  if (parser.isSet("out-dir")) return "--out-dir goes with --names";
  if (parser.isSet("format")) return "--format goes with --names; one card takes it from --out";
  if (parser.isSet("jobs")) return "--jobs goes with --names";
  if (!parser.isSet("out")) return "--out is required";
  if (!IsSupportedImagePath(options.out)) {
    return "the output file must end in .bmp or .png: " + options.out;
  }
  if (options.recipe_in.empty() && !options.name) return "--name or --from-recipe is required";
  if (!options.recipe_in.empty() && options.name) {
    return "--name and --from-recipe cannot be combined: the recipe names the card";
  }
  return std::nullopt;
}

// Reads a file option, which must not be empty when given.
std::optional<std::string> FileOption(const QCommandLineParser& parser, const char* option,
                                      const char* what, std::string& value) {
  if (!parser.isSet(option)) return std::nullopt;
  value = parser.value(option).toStdString();
  if (value.empty()) return "--" + std::string(option) + ": the " + what + " is empty";
  return std::nullopt;
}

std::optional<std::string> ReadValues(const QCommandLineParser& parser, RenderOptions& options) {
  if (!parser.positionalArguments().isEmpty()) {
    return "unexpected argument '" + parser.positionalArguments().first().toStdString() +
           "'; every value follows its option";
  }
  if (parser.isSet("name")) options.name = parser.value("name").toStdString();
  for (const auto& [option, what, value] : {std::tuple{"out", "file name", &options.out},
                                            {"recipe", "file name", &options.recipe_out},
                                            {"from-recipe", "file name", &options.recipe_in},
                                            {"names", "file name", &options.names},
                                            {"out-dir", "folder name", &options.out_dir}}) {
    if (auto error = FileOption(parser, option, what, *value)) return error;
  }
  if (parser.isSet("format")) {
    options.format = parser.value("format").toStdString();
    if (options.format != "bmp" && options.format != "png") {
      return "--format takes bmp or png, not '" + options.format + "'";
    }
  }
  if (parser.isSet("threads")) {
    if (auto error = CheckCount(parser.value("threads"), "--threads", options.threads))
      return error;
  }
  if (parser.isSet("jobs")) {
    if (auto error = CheckCount(parser.value("jobs"), "--jobs", options.jobs)) return error;
  }
  if (parser.isSet("address")) {
    if (auto error = CheckAddress(parser.value("address"))) return error;
    options.address = parser.value("address").toStdString();
  }
  return CheckCombination(parser, options);
}

}  // namespace

std::variant<RenderOptions, int> ParseRenderOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const auto value_option = [&](const char* name, const char* value_name) {
    parser.addOption(
        QCommandLineOption(QString::fromLatin1(name), QString(), QString::fromLatin1(value_name)));
  };
  value_option("name", "NAME");
  value_option("out", "FILE");
  value_option("recipe", "FILE");
  value_option("from-recipe", "FILE");
  value_option("names", "FILE");
  value_option("out-dir", "DIR");
  value_option("format", "FORMAT");
  value_option("threads", "N");
  value_option("jobs", "N");
  value_option("address", "TEXT");
  parser.addOption(QCommandLineOption(QStringList{"h", "help"}));
  parser.addOption(QCommandLineOption("version"));

  if (!parser.parse(arguments)) return UsageError(parser.errorText().toStdString());
  if (parser.isSet("help")) {
    std::cout << Usage();
    return 0;
  }
  if (parser.isSet("version")) {
    std::cout << VersionNotice("newyear-card-render");
    return 0;
  }
  RenderOptions options;
  if (const auto error = ReadValues(parser, options)) return UsageError(*error);
  return options;
}

}  // namespace card
