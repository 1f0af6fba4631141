#pragma once

#include <string>

namespace card {

// Where the cards come from, printed at the end of every greeting line unless another address is
// asked for.
inline constexpr char kProjectAddress[] = "newyear-card.example.org";

inline constexpr char kGreetingWish[] = ", I wish you a happy new year 2010";

// The line printed under the picture: the name directly followed by the wish, six spaces and the
// address.
std::string GreetingLine(const std::string& name, const std::string& address = kProjectAddress);

}  // namespace card
