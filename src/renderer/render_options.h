#pragma once

#include <optional>
#include <string>
#include <variant>

#include "renderer/batch_lines.h"
#include "renderer/batch_shard.h"
#include "services/clock.h"

namespace card {

// What the headless renderer was asked to do.
struct RenderOptions {
  std::optional<std::string> name;
  std::string out;         // as given; "-": standard output
  std::string video;       // the film of the card's growth (.mp4)
  std::string recipe_out;  // as given; "-": standard output
  // The open descriptor the card or the recipe goes to as a stream (see OpenStreamAt), when it
  // does not go to a file.
  std::optional<int> out_stream;
  std::optional<int> recipe_stream;
  std::string recipe_in;
  std::string names;
  std::string out_dir;
  std::string format = "png";
  std::string address;  // empty: the built-in one
  std::string year;     // empty: the built-in one
  int threads = 0;      // 0: chosen from the cores
  int jobs = 0;
  bool quiet = false;  // no progress bar and no summary
  FileNaming file_names = FileNaming::kTime;
  std::string manifest;
  BatchShard shard;
  std::optional<LocalTime> time;  // the batch's time stamp; nothing: the clock's
  int scale = 1;
  int dpi = 0;  // the resolution written into the file; 0: none (72 dpi in a BMP)

  bool batch() const { return !names.empty(); }
};

// Reads the command line as GNU tools do (long options with their short forms, "--opt=value",
// "--" ends the options). Paths are kept as the bytes given. Returns the options, or the exit
// status when the program should stop at once: 0 after --help or --version, 1 when they could
// not be written to standard output, 2 after a message on standard error for options that are
// wrong or do not go together.
std::variant<RenderOptions, int> ParseRenderOptions(int argc, char** argv);

}  // namespace card
