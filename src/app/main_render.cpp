// The headless renderer: cards without a window, for scripts, tests and batches.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/headless_card.h"
#include "app/recipe_text.h"
#include "platform/qt/card_files.h"
#include "platform/qt/qt_text_renderer.h"
#include "seed/name_rules.h"

namespace {

constexpr char kUsage[] =
    R"(Usage: newyear-card-render --name NAME --out CARD.bmp|CARD.png [--recipe RECIPE.json]
       newyear-card-render --from-recipe RECIPE.json --out CARD.bmp|CARD.png [--recipe OUT.json]

Makes the greeting card for NAME without opening a window: the same picture and greeting line
that the window draws for that name.

  --name NAME             the name as typed in the window's dialog: at most 100 characters, each
                          a lowercase letter a to z or a space ('' is the empty name)
  --out FILE              where to write the card; .bmp or .png
  --recipe FILE           also write the card's recipe (name, seed, the twenty draws and the
                          parameters derived from them) as JSON
  --from-recipe FILE      make the card from a recipe's name and draws instead of the generator,
                          to reproduce a card or force a formula by editing its draws
  --help                  show this text

Exit status: 0 when the card was written, 1 when a file could not be read or written, 2 for a
refused name or wrong options.
)";

struct Options {
  std::optional<std::string> name;
  std::string out;
  std::string recipe_out;
  std::string recipe_in;
};

int UsageError(const std::string& message) {
  std::cerr << "newyear-card-render: " << message << "\n"
            << "Try 'newyear-card-render --help'.\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::vector<std::string> args(argv + 1, argv + argc);
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
    } else {
      return UsageError("unknown option '" + arg + "'");
    }
  }
  if (options.out.empty()) return UsageError("--out is required");
  if (!card::IsSupportedImagePath(options.out)) {
    return UsageError("the output file must end in .bmp or .png: " + options.out);
  }
  if (options.recipe_in.empty() && !options.name) return UsageError("--name is required");
  if (!options.recipe_in.empty() && options.name) {
    return UsageError("--name and --from-recipe cannot be combined: the recipe names the card");
  }

  // Text needs Qt's fonts but no display. Without a desktop session the offscreen platform
  // complains about a missing runtime directory that the renderer never uses.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) return;
    if (type != QtDebugMsg) std::cerr << message.toStdString() << "\n";
  });
  QGuiApplication application(argc, argv);

  try {
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
    card::QtTextRenderer text;
    const card::CardResult result = card::MakeCard(request, &text);
    card::WriteCardImage(result.picture, options.out);
    if (!options.recipe_out.empty()) {
      card::WriteTextFile(options.recipe_out, card::RecipeToJson(result.recipe));
    }
  } catch (const card::CardFileError& error) {
    std::cerr << "newyear-card-render: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
