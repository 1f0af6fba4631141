#include "app/recipe_text.h"

#include <cstdio>

namespace card {
namespace {

std::string Number(double value, int digits) {
  char text[40];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}
std::string Single(float value) {
  return Number(value, 9);
}
std::string Double(double value) {
  return Number(value, 17);
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string RecipeToJson(const Recipe& r) {
  std::string draws;
  for (std::size_t k = 0; k < r.draws.size(); ++k) {
    draws += (k == 0 ? "" : ", ") + Single(r.draws[k]);
  }
  const PaletteRecipe& p = r.palette;
  std::string json = "{\n";
  json += "  \"name\": " + JsonString(r.name) + ",\n";
  json += "  \"seed\": " + std::to_string(r.seed) + ",\n";
  json += "  \"draws\": [" + draws + "],\n";
  json += "  \"pmin\": " + Single(p.pmin) + ",\n";
  json += "  \"pspan\": " + Single(p.pspan) + ",\n";
  json += "  \"per1\": " + Single(p.per1) + ", \"per2\": " + Single(p.per2) +
          ", \"per3\": " + Single(p.per3) + ",\n";
  json += "  \"ph1\": " + Double(p.ph1) + ", \"ph2\": " + Double(p.ph2) +
          ", \"ph3\": " + Double(p.ph3) + ",\n";
  json += "  \"wl1\": " + Single(p.wl1) + ", \"wl2\": " + Single(p.wl2) +
          ", \"wl3\": " + Single(p.wl3) + ",\n";
  json += "  \"tip1\": " + Single(r.tip1) + ", \"tip2\": " + Single(r.tip2) +
          ", \"tip3\": " + Single(r.tip3) + ",\n";
  json += "  \"pozic0\": " + Single(r.pozic0) + ",\n";
  json += "  \"fi0\": " + Double(r.fi0) + ",\n";
  json += "  \"r0\": " + Single(r.r0) + ",\n";
  json += "  \"korakfi1\": " + Double(r.korakfi1) + ",\n";
  json += "  \"fak1\": " + Single(r.fak1) + ", \"fak2\": " + Single(r.fak2) +
          ", \"fak3\": " + Single(r.fak3) + "\n";
  json += "}\n";
  return json;
}

}  // namespace card
