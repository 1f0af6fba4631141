#pragma once

#include <string>

namespace card {

// Where the cards come from, printed at the end of every greeting line unless another address is
// asked for. Whoever hands the cards out sets their own when building (the CMake cache variable
// CARD_PROJECT_ADDRESS).
#ifndef CARD_PROJECT_ADDRESS
#define CARD_PROJECT_ADDRESS "newyear-card.example.org"
#endif
inline constexpr char kProjectAddress[] = CARD_PROJECT_ADDRESS;

inline constexpr char kGreetingWish[] = ", I wish you a happy new year 2010";

// The line printed under the picture: the name directly followed by the wish, six spaces and the
// address.
std::string GreetingLine(const std::string& name, const std::string& address = kProjectAddress);

}  // namespace card
