#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace card {

// Text is kept as UTF-8; these services count characters (code points), never bytes, so a name
// typed with letters outside ASCII is examined character by character. Malformed UTF-8 decodes
// to U+FFFD, which no rule accepts.

std::int32_t Len(std::string_view s);
// Characters from position `start` (1-based), at most `length` of them; "" beyond the end.
// A start below 1 or a negative length raises InvalidCall.
std::string Mid(std::string_view s, std::int32_t start, std::int32_t length);
// Code of the first character in a single-byte code page: the code point below 256, else '?'
// (63) as a code-page conversion gives for characters it cannot map. "" raises InvalidCall.
std::int16_t Asc(std::string_view s);
// The character with the single-byte code `code` (0..127 ASCII, 128..255 the Latin-1 character
// that Asc maps back to `code`), UTF-8 encoded. Other codes raise InvalidCall.
std::string Chr(int code);

// The UTF-8 bytes of one character.
std::string EncodeUtf8(char32_t code);

// Decodes one character starting at `pos`; advances `pos`. Returns U+FFFD for malformed input.
char32_t DecodeUtf8(std::string_view s, std::size_t& pos);

// Characters that a message must not print as they are: the C0 and C1 controls and DEL, and the
// invisible marks that reorder or hide what a terminal shows (direction overrides such as U+202E,
// zero-width characters, line and paragraph separators).
bool IsControlCharacter(char32_t code);

// The text as a message may print it: each such character as "<U+202E>" and each byte that is not
// UTF-8 as "<0xE9>"; everything else as it is.
std::string PrintableText(std::string_view text);

}  // namespace card
