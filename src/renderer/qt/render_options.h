#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <variant>

namespace card {

// What the headless renderer was asked to do.
struct RenderOptions {
  std::optional<std::string> name;
  std::string out;
  std::string recipe_out;
  std::string recipe_in;
  std::string names;
  std::string out_dir;
  std::string format = "png";
  std::string address;  // empty: the built-in one
  int threads = 0;      // 0: chosen from the cores
  int jobs = 0;

  bool batch() const { return !names.empty(); }
};

// Reads the command line (the program's name first). Returns the options, or the exit status when
// the program should stop at once: 0 after --help or --version, 2 after a message on standard
// error for options that are wrong or do not go together.
std::variant<RenderOptions, int> ParseRenderOptions(const QStringList& arguments);

}  // namespace card
