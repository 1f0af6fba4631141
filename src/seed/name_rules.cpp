#include "seed/name_rules.h"

#include <cstdio>

#include "services/text.h"

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

namespace {

// A character as the message shows it. Control characters and invisible spaces go by their names:
// their glyphs would show nothing, or break the message's line.
std::string Shown(char32_t c) {
  switch (c) {
    case 0x00:
      return "a NUL";
    case U'\t':
      return "a tab";
    case U'\n':
      return "a line feed";
    case U'\r':
      return "a carriage return";
    case 0x7F:
      return "a delete character";
    case 0xA0:
      return "a no-break space";
    default:
      break;
  }
  // Printed as it is, it would act on the terminal rather than show.
  if (IsControlCharacter(c)) return "a control character";
  // Built piece by piece: GCC 12 warns falsely about a chain of string concatenations here.
  std::string shown = "character '";
  shown += EncodeUtf8(c);
  shown += "'";
  return shown;
}

}  // namespace

std::string DescribeRefusal(const NameRefusal& refusal) {
  const std::string allowed = "use at most 100 lowercase letters a to z and spaces";
  if (refusal.reason == NameRefusal::Reason::kTooLong) {
    return "the name has " + std::to_string(refusal.length) + " characters: " + allowed;
  }
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(refusal.character));
  return Shown(refusal.character) + " (" + code + ") at position " +
         std::to_string(refusal.position) + " is not allowed: " + allowed;
}

namespace {

// The plain small letters of the letters with marks that Latin alphabets use most, capitals
// included.
constexpr std::string_view kPlainLetters[][2] = {{"àáâãäåāăąÀÁÂÃÄÅĀĂĄ", "a"},
                                                 {"çćĉċčÇĆĈĊČ", "c"},
                                                 {"ďđĎĐ", "d"},
                                                 {"èéêëēĕėęěÈÉÊËĒĔĖĘĚ", "e"},
                                                 {"ĝğġģĜĞĠĢ", "g"},
                                                 {"ĥħĤĦ", "h"},
                                                 {"ìíîïĩīĭįıÌÍÎÏĨĪĬĮİ", "i"},
                                                 {"ĵĴ", "j"},
                                                 {"ķĶ", "k"},
                                                 {"ĺļľŀłĹĻĽĿŁ", "l"},
                                                 {"ñńņňÑŃŅŇ", "n"},
                                                 {"òóôõöøōŏőÒÓÔÕÖØŌŎŐ", "o"},
                                                 {"ŕŗřŔŖŘ", "r"},
                                                 {"śŝşšŚŜŞŠ", "s"},
                                                 {"ţťŧŢŤŦ", "t"},
                                                 {"ùúûüũūŭůűųÙÚÛÜŨŪŬŮŰŲ", "u"},
                                                 {"ŵŴ", "w"},
                                                 {"ýÿŷÝŸŶ", "y"},
                                                 {"źżžŹŻŽ", "z"},
                                                 {"ß", "ss"}};

std::optional<std::string> PlainLetter(char32_t c) {
  for (const auto& [marked, plain] : kPlainLetters) {
    for (std::size_t pos = 0; pos < marked.size();) {
      if (DecodeUtf8(marked, pos) == c) return std::string(plain);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> SuggestName(std::string_view utf8_name) {
  if (!CheckName(utf8_name)) return std::nullopt;
  std::string suggestion;
  for (std::size_t pos = 0; pos < utf8_name.size();) {
    char32_t c = DecodeUtf8(utf8_name, pos);
    if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
    if (c == U'-' || c == U'_' || c == U'.' || c == U'\t' || c == 0xA0) {
      suggestion += ' ';
    } else if (const auto plain = PlainLetter(c)) {
      suggestion += *plain;
    } else {
      suggestion += EncodeUtf8(c);
    }
  }
  if (CheckName(suggestion)) return std::nullopt;
  return suggestion;
}

}  // namespace card
