// The headless renderer: cards without a window, for scripts, tests and batches.
#include <cstdlib>
#include <iostream>
#include <new>
#include <optional>
#include <variant>

#include "files/staged_file.h"
#include "platform/platform.h"
#include "renderer/card_files.h"
#include "renderer/headless_card.h"
#include "renderer/progress_console.h"
#include "renderer/recipe.h"
#include "renderer/render_batch.h"
#include "renderer/render_options.h"
#include "renderer/standard_output.h"
#include "scan/fast_scan.h"
#include "seed/name_rules.h"
#include "services/text.h"
#include "services/worker_threads.h"

namespace {

constexpr int kRefused = 2;

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
    card::ConsoleMessage("refused name: " + card::DescribeRefusal(*refusal));
    return kRefused;
  }
  const bool card_to_stream = options.out_stream.has_value();
  const bool recipe_to_stream = options.recipe_stream.has_value();
  const bool recipe_to_file = !options.recipe_out.empty() && !recipe_to_stream;
  // One file for both would end up holding the recipe alone: refused before anything is made.
  if (!card_to_stream && recipe_to_file && card::SameDestination(options.out, options.recipe_out)) {
    card::ConsoleMessage("--out and --recipe lead to one file (" +
                         card::PrintableText(options.out) + " and " +
                         card::PrintableText(options.recipe_out) + "); give each its own");
    return kRefused;
  }
  if (!card_to_stream) card::RemoveStaleTemporaries(card::ParentDirectory(options.out));
  if (recipe_to_file) card::RemoveStaleTemporaries(card::ParentDirectory(options.recipe_out));

  request.threads = options.threads > 0 ? options.threads : card::DefaultThreadCount();
  request.address = options.address;
  request.year = options.year;
  const card::CardResult result = card::MakeCard(request);

  // Files are written in full before any is put in place, so a failure changes none of them; a
  // stream goes out between the two.
  using Destination = card::StagedFile::Destination;
  const card::CardFileDetails details{options.scale, options.dpi, result.recipe.name,
                                      result.greeting};
  const auto picture = card::EncodeCardImage(
      result.picture, card_to_stream ? "card." + options.format : options.out, details);
  const std::string json = options.recipe_out.empty() ? "" : card::RecipeToJson(result.recipe);
  std::optional<card::StagedFile> card_file;
  std::optional<card::StagedFile> recipe_file;
  if (!card_to_stream) {
    card_file.emplace(options.out, picture.data(), picture.size(), Destination::kReplace);
  }
  if (recipe_to_file) {
    recipe_file.emplace(options.recipe_out, json.data(), json.size(), Destination::kReplace);
  }
  if (card_to_stream) card::WriteStream(*options.out_stream, picture.data(), picture.size());
  if (recipe_to_stream) card::WriteStream(*options.recipe_stream, json.data(), json.size());
  // A signal between the two renames would leave a new card beside the old recipe.
  const card::TerminationSignalsHeld together;
  if (card_file) card_file->Commit();
  if (recipe_file) recipe_file->Commit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = card::ParseRenderOptions(argc, argv);
  if (const int* stop = std::get_if<int>(&parsed)) return *stop;
  const auto& options = std::get<card::RenderOptions>(parsed);
  // Names from standard input are read a byte at a time; without stdio's locking that is fast.
  std::ios::sync_with_stdio(false);
  card::RemoveTemporariesOnSignals();
  card::SetThreadShortfallHandler([](int asked, int started) {
    card::ConsoleMessage("the system allowed only " + std::to_string(started) + " of the " +
                         std::to_string(asked) + " threads asked for; going on with fewer");
  });

  try {
    return options.batch() ? card::RunBatch(options) : MakeOneCard(options);
  } catch (const card::FileError& error) {
    card::ConsoleMessage(error.what());
  } catch (const std::bad_alloc&) {
    card::ConsoleMessage("out of memory");
  } catch (const std::exception& error) {
    // Recipe and names file problems, worded for the user where they were found.
    card::ConsoleMessage(error.what());
  }
  return 1;
}
