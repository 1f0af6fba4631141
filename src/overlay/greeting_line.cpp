#include <string>

#include "overlay/greeting.h"
#include "overlay/greeting_settings.h"
#include "services/text.h"

namespace card {

std::string GreetingLine(std::string_view name, std::string_view address, std::string_view year) {
  std::string line(name);
  line += kGreetingWishOpening;
  line += year.empty() ? std::string_view(kGreetingYear) : year;
  line += "      ";
  line += address.empty() ? std::string_view(kProjectAddress) : address;
  return line;
}

// The address and year built in, set when configuring: a build that could not print them stops
// here, with the rule that checks --address and --year.
static_assert(FindAddressFault(kProjectAddress) == AddressFault::kNone,
              "CARD_PROJECT_ADDRESS must be 1 to 100 printable ASCII characters, the ones the "
              "greeting's typeface holds");
static_assert(IsGreetingYear(kGreetingYear), "CARD_GREETING_YEAR must be 1 to 4 digits");

std::optional<std::string> CheckGreetingAddress(std::string_view address) {
  switch (FindAddressFault(address)) {
    case AddressFault::kNone:
      return std::nullopt;
    case AddressFault::kEmpty:
      return "the address is empty";
    case AddressFault::kTooLong:
      return "the address is longer than " + std::to_string(kMaxAddressLength) + " characters";
    case AddressFault::kNotPrintable:
      break;
  }
  std::size_t at = 0;
  while (InGreetingFont(address[at])) ++at;
  const char32_t character = DecodeUtf8(address, at);
  if (IsControlCharacter(character) || character == U'\uFFFD') {
    return "the address may hold only printable characters";
  }
  // Built piece by piece: GCC 12 warns falsely about a chain of string concatenations here.
  std::string shown = "the address holds \"";
  shown += EncodeUtf8(character);
  return shown + "\", which the greeting cannot print (it prints printable ASCII only)";
}

std::optional<std::string> CheckGreetingYear(std::string_view year) {
  if (IsGreetingYear(year)) return std::nullopt;
  return "the year must be 1 to 4 digits, not \"" + std::string(year) + "\"";
}

}  // namespace card
