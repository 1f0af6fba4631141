#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace card {

// The wish that follows the name, up to its year. With the year the program has always printed it
// reads ", I wish you a happy new year 2010".
inline constexpr char kGreetingWishOpening[] = ", I wish you a happy new year ";

// The line printed under the picture: the name directly followed by the wish and its year, six
// spaces and the web address. An empty address or year stands for the one set when the program
// was built (CARD_PROJECT_ADDRESS and CARD_GREETING_YEAR, in overlay/greeting_settings.h).
std::string GreetingLine(std::string_view name, std::string_view address = {},
                         std::string_view year = {});

// Why a web address or a year cannot be printed in the greeting, or nothing when it can. The
// greeting's typeface holds printable ASCII only (overlay/greeting_text.h); a year is 1 to 4
// digits.
std::optional<std::string> CheckGreetingAddress(std::string_view address);
std::optional<std::string> CheckGreetingYear(std::string_view year);

}  // namespace card
