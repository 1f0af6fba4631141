// The headless renderer: cards without a window, for scripts, tests and batches.
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <new>
#include <optional>
#include <utility>
#include <variant>

#include "files/staged_file.h"
#include "platform/platform.h"
#include "renderer/card_files.h"
#include "renderer/card_video.h"
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
#include "video/film_encoder.h"

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
  const bool card_to_file = !options.out.empty() && !card_to_stream;
  const bool recipe_to_file = !options.recipe_out.empty() && !recipe_to_stream;
  const bool video = !options.video.empty();
  // One file for two would end up holding the last alone: refused before anything is made.
  const std::pair<const char*, const std::string*> files[] = {
      {"--out", card_to_file ? &options.out : nullptr},
      {"--recipe", recipe_to_file ? &options.recipe_out : nullptr},
      {"--video", video ? &options.video : nullptr}};
  for (auto first = std::begin(files); first != std::end(files); ++first) {
    for (auto second = first + 1; second != std::end(files); ++second) {
      if (first->second == nullptr || second->second == nullptr) continue;
      const std::string& a = *first->second;
      const std::string& b = *second->second;
      if (!card::SameDestination(a, b)) continue;
      card::ConsoleMessage(std::string(first->first) + " and " + second->first +
                           " lead to one file (" + card::PrintableText(a) + " and " +
                           card::PrintableText(b) + "); give each its own");
      return kRefused;
    }
  }
  for (const auto& [option, path] : files) {
    if (path != nullptr) card::RemoveStaleTemporaries(card::ParentDirectory(*path));
  }
  if (video) card::RequireFilmEncoder();

  request.threads = options.threads > 0 ? options.threads : card::DefaultThreadCount();
  request.address = options.address;
  request.year = options.year;
  const bool picture_wanted = !options.out.empty() || !options.recipe_out.empty();
  const card::CardResult result = picture_wanted ? card::MakeCard(request) : card::CardResult{};
  const std::vector<std::uint8_t> film =
      video ? card::MakeCardVideo(request).mp4 : std::vector<std::uint8_t>{};

  // Files are written in full before any is put in place, so a failure changes none of them; a
  // stream goes out between the two.
  using Destination = card::StagedFile::Destination;
  const card::CardFileDetails details{options.scale, options.dpi, result.recipe.name,
                                      result.greeting};
  const auto picture =
      options.out.empty()
          ? std::vector<std::uint8_t>{}
          : card::EncodeCardImage(result.picture,
                                  card_to_stream ? "card." + options.format : options.out, details);
  const std::string json = options.recipe_out.empty() ? "" : card::RecipeToJson(result.recipe);
  std::optional<card::StagedFile> card_file;
  std::optional<card::StagedFile> recipe_file;
  std::optional<card::StagedFile> video_file;
  if (card_to_file) {
    card_file.emplace(options.out, picture.data(), picture.size(), Destination::kReplace);
  }
  if (recipe_to_file) {
    recipe_file.emplace(options.recipe_out, json.data(), json.size(), Destination::kReplace);
  }
  if (video) video_file.emplace(options.video, film.data(), film.size(), Destination::kReplace);
  if (card_to_stream) card::WriteStream(*options.out_stream, picture.data(), picture.size());
  if (recipe_to_stream) card::WriteStream(*options.recipe_stream, json.data(), json.size());
  // A signal between the renames would leave a new card beside an old recipe or video.
  const card::TerminationSignalsHeld together;
  if (card_file) card_file->Commit();
  if (recipe_file) recipe_file->Commit();
  if (video_file) video_file->Commit();
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
