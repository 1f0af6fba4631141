#pragma once
// What the fuzz targets hold the input readers to, written from what a name, a names list and a
// message must be, without the project's own text functions.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "contract broken: %s\n", what);
  std::abort();
}

inline bool IsNameByte(char c) {
  return c == ' ' || (c >= 'a' && c <= 'z');
}

// Well-formed UTF-8 as RFC 3629 defines it: no overlong forms, no surrogates, nothing above
// U+10FFFF. Decodes into `codes` when given.
inline bool IsUtf8(std::string_view text, std::u32string* codes = nullptr) {
  for (std::size_t k = 0; k < text.size();) {
    const auto b0 = static_cast<unsigned char>(text[k]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (b0 < 0x80) {
      length = 1, code = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
      length = 2, code = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      length = 3, code = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      length = 4, code = b0 & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (k + length > text.size()) return false;
    for (std::size_t j = 1; j < length; ++j) {
      const auto b = static_cast<unsigned char>(text[k + j]);
      if ((b & 0xC0) != 0x80) return false;
      code = (code << 6) | (b & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (codes != nullptr) codes->push_back(code);
    k += length;
  }
  return true;
}

// A message a terminal shows as it is: UTF-8 without the C0 and C1 controls, DEL, and the
// invisible marks that reorder or hide text (U+202E and its kind).
inline bool IsPrintable(std::string_view message) {
  std::u32string codes;
  if (!IsUtf8(message, &codes)) return false;
  for (const char32_t c : codes) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || (c >= 0x200B && c <= 0x200F) ||
        (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF) {
      return false;
    }
  }
  return true;
}

}  // namespace fuzz
