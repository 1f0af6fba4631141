#pragma once

#include <string>

namespace card {

// Where the cards come from, printed at the end of every greeting line. Whoever hands the cards out
// sets their own address when building (the CMake cache variable CARD_PROJECT_ADDRESS).
#ifndef CARD_PROJECT_ADDRESS
#define CARD_PROJECT_ADDRESS "newyear-card.example.org"
#endif
inline constexpr char kProjectAddress[] = CARD_PROJECT_ADDRESS;

inline constexpr char kGreetingWish[] = ", I wish you a happy new year 2010";

// The line printed under the picture: the name directly followed by the wish, six spaces and the
// project's address.
std::string GreetingLine(const std::string& name);

}  // namespace card
