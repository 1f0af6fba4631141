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
  const bool card_to_stream = options.out == "-";
  const bool recipe_to_stream = options.recipe_out == "-";
  // One file for two would end up holding the last alone: refused before anything is made.
  const std::pair<const char*, const std::string*> files[] = {
      {"--out", &options.out}, {"--recipe", &options.recipe_out}, {"--video", &options.video}};
  for (auto first = std::begin(files); first != std::end(files); ++first) {
    for (auto second = first + 1; second != std::end(files); ++second) {
      const std::string& a = *first->second;
      const std::string& b = *second->second;
      if (a.empty() || b.empty() || a == "-" || b == "-" || !card::SameDestination(a, b)) continue;
      card::ConsoleMessage(std::string(first->first) + " and " + second->first +
                           " lead to one file (" + a + " and " + b + "); give each its own");
      return kRefused;
    }
  }
  for (const auto& [option, path] : files) {
    if (!path->empty() && *path != "-") card::RemoveStaleTemporaries(card::ParentDirectory(*path));
  }
  const bool video = !options.video.empty();
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
  const auto picture =
      options.out.empty()
          ? std::vector<std::uint8_t>{}
          : card::EncodeCardImage(result.picture,
                                  card_to_stream ? "card." + options.format : options.out);
  const std::string json = options.recipe_out.empty() ? "" : card::RecipeToJson(result.recipe);
  std::optional<card::StagedFile> card_file;
  std::optional<card::StagedFile> recipe_file;
  std::optional<card::StagedFile> video_file;
  if (!options.out.empty() && !card_to_stream) {
    card_file.emplace(options.out, picture.data(), picture.size(), Destination::kReplace);
  }
  if (!options.recipe_out.empty() && !recipe_to_stream) {
    recipe_file.emplace(options.recipe_out, json.data(), json.size(), Destination::kReplace);
  }
  if (video) {
    video_file.emplace(options.video, film.data(), film.size(), Destination::kReplace);
  }
  if (card_to_stream) card::WriteStandardOutput(picture.data(), picture.size());
  if (recipe_to_stream) card::WriteStandardOutput(json);
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
