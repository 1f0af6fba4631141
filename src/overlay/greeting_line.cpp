#include <string>

#include "overlay/greeting.h"
#include "overlay/greeting_settings.h"
#include "overlay/greeting_text.h"
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

std::optional<std::string> CheckGreetingAddress(std::string_view address) {
  if (address.empty()) return "the address is empty";
  const auto outside = CharacterOutsideGreetingFont(address);
  if (!outside) return std::nullopt;
  std::size_t at = address.find(*outside);
  const char32_t character = DecodeUtf8(address, at);
  // Built piece by piece: GCC 12 warns falsely about a chain of string concatenations here.
  std::string shown;
  if (IsControlCharacter(character)) {
    shown = "a control character";
  } else {
    shown.push_back('"');
    shown += EncodeUtf8(character);
    shown.push_back('"');
  }
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
