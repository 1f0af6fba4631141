#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace card {

inline constexpr std::int32_t kMaxNameLength = 100;

// Why a name is refused, for messages outside the dialog (which asks again without a word).
struct NameRefusal {
  enum class Reason { kTooLong, kCharacter } reason;
  std::int32_t length = 0;    // characters in the name
  std::int32_t position = 0;  // 1-based position of the first refused character
  char32_t character = 0;     // the first refused character
};

// A name is accepted when it has at most 100 characters, each a lowercase letter a to z or a
// plain space. The empty name is accepted.
std::optional<NameRefusal> CheckName(std::string_view utf8_name);

// "character 'A' (U+0041) at position 1 is not allowed: use lowercase letters a to z and spaces"
std::string DescribeRefusal(const NameRefusal& refusal);

// What a refused name most likely meant, when one change makes it acceptable: capitals made small
// ("Ana" -> "ana"), letters with marks made plain ("Čuk" -> "cuk", "Jürgen" -> "jurgen"), and
// hyphens, dots and tabs made spaces ("ana-marija" -> "ana marija"). Nothing when the name is
// accepted already or no such change makes it so (digits, other signs, a name too long).
std::optional<std::string> SuggestName(std::string_view utf8_name);

}  // namespace card
