#include "renderer/recipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "files/file_descriptor.h"
#include "services/text.h"

namespace card {
namespace {

using Json = nlohmann::ordered_json;

// The shortest decimal that reads back as the same float, held as that decimal's double so the
// JSON shows "0.1" rather than the float's exact binary value. A reader takes the decimal as a
// double and then rounds that to a float; for a rare float (0x15AE43FD, 7.038531e-26) the two
// roundings together land on its neighbour, and then the float's own exact value is written.
double Single(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  double shortest = value;
  std::from_chars(text, end, shortest);
  return static_cast<float>(shortest) == value ? shortest : static_cast<double>(value);
}

// Whether brackets outside strings nest deeper than `limit`: checked before the JSON library
// builds (and later copies) its tree, which it does recursively, level by level.
bool NestsDeeperThan(const std::string& text, int limit) {
  int depth = 0;
  bool in_string = false;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (in_string) {
      if (c == '\\') {
        ++k;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

// Text in another encoding than UTF-8 is named, since the JSON library would only call its first
// byte an invalid literal. An ASCII character next to a NUL byte is how UTF-16 and UTF-32 begin.
std::optional<std::string> ForeignEncoding(const std::string& text) {
  const auto starts = [&](std::string_view prefix) { return text.starts_with(prefix); };
  using namespace std::string_view_literals;
  if (starts("\xFF\xFE\0\0"sv) || starts("\0\0\xFE\xFF"sv)) return "UTF-32";
  if (starts("\xFF\xFE"sv) || starts("\xFE\xFF"sv)) return "UTF-16";
  if (text.size() >= 4 && ((text[1] == '\0' && text[2] == '\0' && text[3] == '\0') ||
                           (text[0] == '\0' && text[1] == '\0' && text[2] == '\0'))) {
    return "UTF-32";
  }
  if (text.size() >= 2 && (text[0] == '\0' || text[1] == '\0')) return "UTF-16";
  return std::nullopt;
}

// nlohmann's messages start with a code for programmers: "[json.exception.parse_error.101] ".
std::string WithoutCode(const std::string& message) {
  const auto end = message.find("] ");
  return message.front() == '[' && end != std::string::npos ? message.substr(end + 2) : message;
}

std::string ReadUpTo(const std::string& path, std::size_t limit) {
  const auto fail = [&](int error) {
    return RecipeError("cannot read recipe " + PrintableText(path) + ": " + std::strerror(error));
  };
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.valid()) throw fail(errno);
  struct stat info {};
  if (::fstat(file.get(), &info) == 0 && S_ISDIR(info.st_mode)) throw fail(EISDIR);
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw fail(errno);
    if (got == 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > limit) {
      throw RecipeError("recipe " + PrintableText(path) + " is larger than " +
                        std::to_string(limit) + " bytes (1 MiB), which no recipe is");
    }
  }
  return text;
}

float CheckedDraw(const Json& value, std::size_t index, const std::string& source) {
  const std::string which = "recipe " + source + ": draw " + std::to_string(index + 1);
  if (!value.is_number()) throw RecipeError(which + " is not a number in [0, 1)");
  const double number = value.get<double>();
  const auto draw = static_cast<float>(number);
  if (!(number >= 0.0 && number < 1.0)) {
    throw RecipeError(which + " is " + value.dump() + ", not a number in [0, 1)");
  }
  if (!(draw < 1.0f)) {
    throw RecipeError(which + " is " + value.dump() +
                      ", which rounds to 1 as a single-precision number; a draw must be below 1");
  }
  return draw;
}

}  // namespace

std::string RecipeToJson(const Recipe& r) {
  Json draws = Json::array();
  for (const float draw : r.draws) draws.push_back(Single(draw));
  const PaletteRecipe& p = r.palette;
  Json json = {
      {"name", r.name},
      {"seed", r.seed},
      {"draws", draws},
      {"pmin", Single(p.pmin)},
      {"pspan", Single(p.pspan)},
      {"per1", Single(p.per1)},
      {"per2", Single(p.per2)},
      {"per3", Single(p.per3)},
      {"ph1", p.ph1},
      {"ph2", p.ph2},
      {"ph3", p.ph3},
      {"wl1", Single(p.wl1)},
      {"wl2", Single(p.wl2)},
      {"wl3", Single(p.wl3)},
  };
  for (std::size_t k = 0; k < kCardParameters.size(); ++k) {
    const double value = r.parameters[k];
    json[std::string(kCardParameters[k].name)] =
        kCardParameters[k].single ? Single(static_cast<float>(value)) : value;
  }
  return json.dump(2) + "\n";
}

namespace {

RecipeInput ParseRecipeJson(const std::string& text, const std::string& source) {
  const Json json = Json::parse(text);
  if (!json.is_object()) throw RecipeError("recipe " + source + " is not a JSON object");
  const auto name = json.find("name");
  if (name == json.end() || !name->is_string()) {
    throw RecipeError("recipe " + source + " has no \"name\" text");
  }
  const auto draws = json.find("draws");
  if (draws == json.end() || !draws->is_array()) {
    throw RecipeError("recipe " + source + " has no \"draws\" list");
  }
  if (draws->size() != kDrawsPerCard) {
    throw RecipeError("recipe " + source + " has " + std::to_string(draws->size()) +
                      " draws; a card takes exactly " + std::to_string(kDrawsPerCard));
  }
  RecipeInput input;
  input.name = name->get<std::string>();
  for (std::size_t k = 0; k < draws->size(); ++k) {
    input.draws.push_back(CheckedDraw((*draws)[k], k, source));
  }
  return input;
}

}  // namespace

RecipeInput ParseRecipe(const std::string& text, const std::string& source) {
  const std::string shown = PrintableText(source);
  if (const auto encoding = ForeignEncoding(text)) {
    throw RecipeError("recipe " + shown + " is " + *encoding + "; save it as UTF-8");
  }
  if (const auto nul = text.find('\0'); nul != std::string::npos) {
    throw RecipeError("recipe " + shown + " holds a NUL byte at byte " + std::to_string(nul + 1) +
                      ", which no text holds");
  }
  if (NestsDeeperThan(text, kMaxRecipeNesting)) {
    throw RecipeError("recipe " + shown + " nests lists or objects more than " +
                      std::to_string(kMaxRecipeNesting) + " deep, which no recipe does");
  }
  try {
    return ParseRecipeJson(text, shown);
  } catch (const Json::parse_error& error) {
    throw RecipeError("recipe " + shown +
                      " is not valid JSON: " + PrintableText(WithoutCode(error.what())));
  } catch (const Json::exception& error) {
    // A number beyond double's range (1e400) and the like: the file is no recipe either.
    throw RecipeError("recipe " + shown +
                      " cannot be read: " + PrintableText(WithoutCode(error.what())));
  }
}

RecipeInput ReadRecipeFile(const std::string& path) {
  return ParseRecipe(ReadUpTo(path, kMaxRecipeBytes), path);
}

}  // namespace card
