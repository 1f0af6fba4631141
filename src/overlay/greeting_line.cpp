#include <string>

#include "overlay/greeting.h"
#include "overlay/greeting_settings.h"
#include "overlay/greeting_text.h"

namespace card {
namespace {

// The character at `at` as the user typed it: a whole UTF-8 sequence when it starts one.
std::string CharacterAt(std::string_view text, std::size_t at) {
  std::size_t end = at + 1;
  if (static_cast<unsigned char>(text[at]) >= 0xC0) {
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return std::string(text.substr(at, end - at));
}

}  // namespace

std::string GreetingLine(std::string_view name, std::string_view address, std::string_view year) {
  std::string line(name);
  line += kGreetingWishOpening;
  line += year.empty() ? std::string_view(kGreetingYear) : year;
  line += "      ";
  line += address.empty() ? std::string_view(kProjectAddress) : address;
  return line;
}

std::optional<std::string> CheckGreetingAddress(std::string_view address) {
  if (address.empty()) return "the address is empty";
  const auto outside = CharacterOutsideGreetingFont(address);
  if (!outside) return std::nullopt;
  const std::string character = CharacterAt(address, address.find(*outside));
  const auto code = static_cast<unsigned char>(*outside);
  const std::string shown =
      code < 0x20 || code == 0x7F ? "a control character" : "\"" + character + "\"";
  return "the address holds " + shown +
         ", which the greeting cannot print (it prints printable ASCII only)";
}

std::optional<std::string> CheckGreetingYear(std::string_view year) {
  const bool digits = year.find_first_not_of("0123456789") == std::string_view::npos;
  if (year.empty() || year.size() > 4 || !digits) {
    return "the year must be 1 to 4 digits, not \"" + std::string(year) + "\"";
  }
  return std::nullopt;
}

}  // namespace card
