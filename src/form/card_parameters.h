#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "form/form1.h"

namespace card {

// The state variables that ChooseParameters draws for a card, in the order a recipe lists them,
// each with the kind of number it holds. The recipe and the headless card read them from here.
struct CardParameter {
  std::string_view name;
  Value Form1::*variable;
  bool single;  // a Single; otherwise a Double
};

inline constexpr std::array<CardParameter, 10> kCardParameters{{
    {"tip1", &Form1::tip1, true},
    {"tip2", &Form1::tip2, true},
    {"tip3", &Form1::tip3, true},
    {"pozic0", &Form1::pozic0, true},
    {"fi0", &Form1::fi0, false},
    {"r0", &Form1::r0, true},
    {"korakfi1", &Form1::korakfi1, false},
    {"fak1", &Form1::fak1, true},
    {"fak2", &Form1::fak2, true},
    {"fak3", &Form1::fak3, true},
}};

// The values of the card's parameters as the form holds them, in the table's order.
using CardParameterValues = std::array<double, kCardParameters.size()>;

inline CardParameterValues CardParameterValuesOf(const Form1& form) {
  CardParameterValues values{};
  for (std::size_t k = 0; k < kCardParameters.size(); ++k) {
    values[k] = (form.*kCardParameters[k].variable).number();
  }
  return values;
}

// Where a parameter stands in the table; the table's size for a name it does not hold.
constexpr std::size_t CardParameterIndex(std::string_view name) {
  std::size_t k = 0;
  while (k < kCardParameters.size() && kCardParameters[k].name != name) ++k;
  return k;
}

}  // namespace card
