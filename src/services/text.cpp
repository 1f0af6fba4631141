#include "services/text.h"

#include <cstdio>

#include "numeric/runtime_error.h"

namespace card {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Byte offset of the character at 0-based index `index`, or s.size() when there are fewer.
std::size_t OffsetOfCharacter(std::string_view s, std::int64_t index) {
  std::size_t pos = 0;
  for (std::int64_t k = 0; k < index && pos < s.size(); ++k) DecodeUtf8(s, pos);
  return pos;
}

}  // namespace

std::string EncodeUtf8(char32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

char32_t DecodeUtf8(std::string_view s, std::size_t& pos) {
  if (pos >= s.size()) return kReplacement;
  const auto lead = static_cast<unsigned char>(s[pos++]);
  if (lead < 0x80) return lead;

  // The allowed range of the second byte excludes overlong forms, surrogates and code points
  // above U+10FFFF; every later byte is a plain continuation byte.
  int continuation_bytes = 0;
  char32_t code = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuation_bytes = 1;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuation_bytes = 2;
    code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuation_bytes = 3;
    code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return kReplacement;
  }

  for (int k = 0; k < continuation_bytes; ++k) {
    if (pos >= s.size()) return kReplacement;
    const auto byte = static_cast<unsigned char>(s[pos]);
    // A byte that cannot continue the sequence is left for the next character, so one bad
    // sequence costs one replacement character and no more.
    if (byte < low || byte > high) return kReplacement;
    code = (code << 6) | (byte & 0x3Fu);
    ++pos;
    low = 0x80;
    high = 0xBF;
  }
  return code;
}

std::int32_t Len(std::string_view s) {
  std::int32_t count = 0;
  for (std::size_t pos = 0; pos < s.size(); ++count) DecodeUtf8(s, pos);
  return count;
}

std::string Mid(std::string_view s, std::int32_t start, std::int32_t length) {
  if (start < 1 || length < 0) throw RuntimeError(ErrorNumber::kInvalidCall);
  const std::size_t begin = OffsetOfCharacter(s, start - 1);
  const std::string_view rest = s.substr(begin);
  return std::string(rest.substr(0, OffsetOfCharacter(rest, length)));
}

std::int16_t Asc(std::string_view s) {
  if (s.empty()) throw RuntimeError(ErrorNumber::kInvalidCall);
  std::size_t pos = 0;
  const char32_t code = DecodeUtf8(s, pos);
  return static_cast<std::int16_t>(code < 256 ? code : U'?');
}

std::string Chr(int code) {
  if (code < 0 || code > 255) throw RuntimeError(ErrorNumber::kInvalidCall);
  return EncodeUtf8(static_cast<char32_t>(code));
}

bool IsControlCharacter(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x061C ||
         (code >= 0x200B && code <= 0x200F) || (code >= 0x2028 && code <= 0x202E) ||
         (code >= 0x2060 && code <= 0x2069) || code == 0xFEFF;
}

std::string PrintableText(std::string_view text) {
  std::string shown;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t code = DecodeUtf8(text, pos);
    char escaped[16];
    if (code == kReplacement && text.substr(start, 3) != "\xEF\xBF\xBD") {
      // Malformed: show the one byte and go on from the next.
      std::snprintf(escaped, sizeof escaped, "<0x%02X>", static_cast<unsigned char>(text[start]));
      shown += escaped;
      pos = start + 1;
    } else if (IsControlCharacter(code)) {
      std::snprintf(escaped, sizeof escaped, "<U+%04X>", static_cast<unsigned>(code));
      shown += escaped;
    } else {
      shown.append(text.substr(start, pos - start));
    }
  }
  return shown;
}

}  // namespace card
