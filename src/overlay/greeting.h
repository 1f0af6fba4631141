#pragma once

#include <string>

namespace card {

// Where the cards come from, printed at the end of every greeting line.
inline constexpr char kProjectAddress[] = "newyear-card.example.org";

inline constexpr char kGreetingWish[] = ", I wish you a happy new year 2010";

// The line printed under the picture: the name directly followed by the wish, six spaces and the
// project's address.
std::string GreetingLine(const std::string& name);

}  // namespace card
