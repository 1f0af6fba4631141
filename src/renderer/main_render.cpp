// The headless renderer: cards without a window, for scripts, tests and batches.
#include <QGuiApplication>
#include <QStringList>
#include <cstdlib>
#include <iostream>
#include <new>
#include <optional>
#include <variant>

#include "platform/platform.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/staged_file.h"
#include "render/fast_scan.h"
#include "renderer/headless_card.h"
#include "renderer/qt/card_files.h"
#include "renderer/qt/render_batch.h"
#include "renderer/qt/render_options.h"
#include "renderer/recipe.h"
#include "seed/name_rules.h"

namespace {

int MakeOneCard(const card::RenderOptions& options) {
  card::CardRequest request;
  if (!options.recipe_in.empty()) {
    card::RecipeInput recipe = card::ReadRecipeFile(options.recipe_in);
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
  request.address = options.address;
  card::QtTextRenderer text;
  const card::CardResult result = card::MakeCard(request, &text);

  // Both files are written in full before either is put in place, so a failure changes neither.
  using Destination = card::StagedFile::Destination;
  const auto picture = card::EncodeCardImage(result.picture, options.out);
  card::StagedFile card_file(options.out, picture.data(), picture.size(), Destination::kReplace);
  std::optional<card::StagedFile> recipe_file;
  if (!options.recipe_out.empty()) {
    const std::string json = card::RecipeToJson(result.recipe);
    recipe_file.emplace(options.recipe_out, json.data(), json.size(), Destination::kReplace);
  }
  card_file.Commit();
  if (recipe_file) recipe_file->Commit();
  return 0;
}

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int k = 0; k < argc; ++k) arguments << QString::fromLocal8Bit(argv[k]);
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = card::ParseRenderOptions(Arguments(argc, argv));
  if (const int* stop = std::get_if<int>(&parsed)) return *stop;
  const auto& options = std::get<card::RenderOptions>(parsed);
  // Names from standard input are read a byte at a time; without stdio's locking that is fast.
  std::ios::sync_with_stdio(false);

  // Text needs Qt's fonts but no display. Without a desktop session the offscreen platform
  // complains about a missing runtime directory that the renderer never uses.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) return;
    if (type != QtDebugMsg) std::cerr << message.toStdString() << "\n";
  });

  try {
    QGuiApplication application(argc, argv);
    return options.batch() ? card::RunBatch(options) : MakeOneCard(options);
  } catch (const card::FileError& error) {
    std::cerr << "newyear-card-render: cannot write " << error.path() << ": " << error.reason()
              << "\n";
  } catch (const std::bad_alloc&) {
    std::cerr << "newyear-card-render: out of memory\n";
  } catch (const std::exception& error) {
    // Recipe and names file problems, worded for the user where they were found.
    std::cerr << "newyear-card-render: " << error.what() << "\n";
  }
  return 1;
}
