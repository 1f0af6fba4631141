#include "seed/name_rules.h"

#include <cstdio>

#include "numeric/text.h"

namespace card {

std::optional<NameRefusal> CheckName(std::string_view utf8_name) {
  const std::int32_t length = Len(utf8_name);
  if (length > kMaxNameLength) {
    return NameRefusal{NameRefusal::Reason::kTooLong, length, 0, 0};
  }
  std::size_t pos = 0;
  for (std::int32_t k = 1; k <= length; ++k) {
    const char32_t c = DecodeUtf8(utf8_name, pos);
    if (c != U' ' && (c < U'a' || c > U'z')) {
      return NameRefusal{NameRefusal::Reason::kCharacter, length, k, c};
    }
  }
  return std::nullopt;
}

std::string DescribeRefusal(const NameRefusal& refusal) {
  const std::string allowed = "use at most 100 lowercase letters a to z and spaces";
  if (refusal.reason == NameRefusal::Reason::kTooLong) {
    return "the name has " + std::to_string(refusal.length) + " characters: " + allowed;
  }
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(refusal.character));
  std::string shown;
  if (refusal.character == U'\t') {
    shown = "a tab";
  } else if (IsControlCharacter(refusal.character)) {
    // Printed as it is, it would act on the terminal rather than show.
    shown = "a control character";
  } else {
    // Built piece by piece: GCC 12 warns falsely about a chain of string concatenations here.
    shown.push_back('\'');
    shown += EncodeUtf8(refusal.character);
    shown.push_back('\'');
  }
  return "character " + shown + " (" + code + ") at position " + std::to_string(refusal.position) +
         " is not allowed: " + allowed;
}

}  // namespace card
