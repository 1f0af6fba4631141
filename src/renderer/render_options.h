#pragma once

#include <optional>
#include <string>
#include <variant>

namespace card {

// What the headless renderer was asked to do.
struct RenderOptions {
  std::optional<std::string> name;
  std::string out;         // "-": standard output
  std::string video;       // the film of the card's growth (.mp4)
  std::string recipe_out;  // "-": standard output
  std::string recipe_in;
  std::string names;
  std::string out_dir;
  std::string format = "png";
  std::string address;  // empty: the built-in one
  std::string year;     // empty: the built-in one
  int threads = 0;      // 0: chosen from the cores
  int jobs = 0;
  bool quiet = false;  // no progress bar

  bool batch() const { return !names.empty(); }
};

// Reads the command line as GNU tools do (long options with their short forms, "--opt=value",
// "--" ends the options). Paths are kept as the bytes given. Returns the options, or the exit
// status when the program should stop at once: 0 after --help or --version, 1 when they could
// not be written to standard output, 2 after a message on standard error for options that are
// wrong or do not go together.
std::variant<RenderOptions, int> ParseRenderOptions(int argc, char** argv);

}  // namespace card
