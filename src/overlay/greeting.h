#pragma once

#include <cstddef>
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

// The greeting's typeface holds printable ASCII only (overlay/greeting_text.h).
constexpr bool InGreetingFont(char c) {
  return c >= ' ' && c <= '~';
}

// What keeps a web address out of the greeting: an address is 1 to 100 characters that the
// typeface holds. The same rule checks the address built in (when it is compiled) and --address.
enum class AddressFault { kNone, kEmpty, kTooLong, kNotPrintable };
inline constexpr std::size_t kMaxAddressLength = 100;
constexpr AddressFault FindAddressFault(std::string_view address) {
  if (address.empty()) return AddressFault::kEmpty;
  for (const char c : address) {
    if (!InGreetingFont(c)) return AddressFault::kNotPrintable;
  }
  return address.size() > kMaxAddressLength ? AddressFault::kTooLong : AddressFault::kNone;
}

// A year the greeting can wish: 1 to 4 digits.
constexpr bool IsGreetingYear(std::string_view year) {
  if (year.empty() || year.size() > 4) return false;
  for (const char c : year) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Why a web address or a year cannot be printed in the greeting, in words, or nothing when it
// can.
std::optional<std::string> CheckGreetingAddress(std::string_view address);
std::optional<std::string> CheckGreetingYear(std::string_view year);

}  // namespace card
