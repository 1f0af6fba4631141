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
  } else if (refusal.character < 0x20 || refusal.character == 0x7F) {
    shown = "a control character";
  } else {
    // Re-encode the character so the message shows it as typed.
    std::string utf8;
    const char32_t c = refusal.character;
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
    shown = "'" + utf8 + "'";
  }
  return "character " + shown + " (" + code + ") at position " + std::to_string(refusal.position) +
         " is not allowed: " + allowed;
}

}  // namespace card
