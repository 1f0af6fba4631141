#pragma once
// What a recipe text holds, read without the JSON library the reader uses: a small reader of JSON
// as RFC 8259 writes it down, and of numbers with std::from_chars. It keeps only what a recipe is
// judged by: the top object's last "name" and "draws".
#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "fuzz_oracles.h"

namespace fuzz {

struct RecipeFields {
  std::string name;
  std::vector<float> draws;
};

class TinyJson {
 public:
  // The name and draws of a recipe, or nothing for text that is no recipe: not JSON, nested more
  // than `max_depth` deep, or without a "name" text and twenty "draws" in [0, 1) as floats.
  static std::optional<RecipeFields> ReadRecipe(std::string_view text, int max_depth) {
    // A UTF-8 byte order mark may lead the text.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    TinyJson json(text, max_depth);
    json.Space();
    if (json.Peek() != '{') return std::nullopt;
    bool named = false, drawn = false;
    std::optional<RecipeFields> found = RecipeFields{};
    const bool ok = json.Object(0, [&](const std::string& key) {
      if (key == "name") {  // the last one counts, as in any object
        json.Space();
        named = json.Peek() == '"';
        if (named) return json.String(&found->name);
        return json.Value(1);
      }
      if (key == "draws") {
        drawn = json.Draws(&found->draws);
        return json.ok_;
      }
      return json.Value(1);
    });
    json.Space();
    if (!ok || !json.ok_ || json.at_ != json.text_.size() || !named || !drawn) return std::nullopt;
    return found;
  }

 private:
  TinyJson(std::string_view text, int max_depth) : text_(text), max_depth_(max_depth) {}

  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  bool Fail() { return ok_ = false; }
  void Space() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) {
      ++at_;
    }
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return Fail();
    at_ += word.size();
    return true;
  }

  // Any value at `depth` (the top is 0); containers count one level each.
  bool Value(int depth) {
    Space();
    switch (Peek()) {
      case '{':
        return Object(depth, [&](const std::string&) { return Value(depth + 1); });
      case '[':
        return Array(depth, [&] { return Value(depth + 1); });
      case '"':
        return String(nullptr);
      case 't':
        return Word("true");
      case 'f':
        return Word("false");
      case 'n':
        return Word("null");
      default:
        return Number(nullptr);
    }
  }

  template <typename Member>
  bool Object(int depth, Member member) {
    if (depth + 1 > max_depth_) return Fail();
    ++at_;  // '{'
    Space();
    if (Peek() == '}') return ++at_, true;
    for (;;) {
      Space();
      std::string key;
      if (Peek() != '"' || !String(&key)) return Fail();
      Space();
      if (Peek() != ':') return Fail();
      ++at_;
      if (!member(key)) return Fail();
      Space();
      if (Peek() == ',') {
        ++at_;
        continue;
      }
      if (Peek() == '}') return ++at_, true;
      return Fail();
    }
  }

  template <typename Element>
  bool Array(int depth, Element element) {
    if (depth + 1 > max_depth_) return Fail();
    ++at_;  // '['
    Space();
    if (Peek() == ']') return ++at_, true;
    for (;;) {
      if (!element()) return Fail();
      Space();
      if (Peek() == ',') {
        ++at_;
        continue;
      }
      if (Peek() == ']') return ++at_, true;
      return Fail();
    }
  }

  // The "draws" value: true for exactly twenty numbers each at least 0 and below 1 as a float;
  // any other valid value leaves ok_ set and says false.
  bool Draws(std::vector<float>* draws) {
    Space();
    draws->clear();
    if (Peek() != '[') {
      Value(1);
      return false;
    }
    bool all_draws = true;
    Array(1, [&] {
      Space();
      const char c = Peek();
      if (c != '-' && (c < '0' || c > '9')) {
        all_draws = false;
        return Value(2);
      }
      double value = 0;
      if (!Number(&value)) return false;
      if (!(value >= 0.0) || !(static_cast<float>(value) < 1.0f)) all_draws = false;
      draws->push_back(static_cast<float>(value));
      return true;
    });
    return ok_ && all_draws && draws->size() == 20;
  }

  // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)? as a double: an integer as the integer it is
  // (so -0 is 0), a number beyond double's range refused, one below it 0 of its sign.
  bool Number(double* value) {
    const std::size_t start = at_;
    const auto digits = [&] {
      const std::size_t from = at_;
      while (Peek() >= '0' && Peek() <= '9') ++at_;
      return at_ - from;
    };
    if (Peek() == '-') ++at_;
    const std::size_t first = at_;
    const std::size_t whole = digits();
    if (whole == 0 || (whole > 1 && text_[first] == '0')) return Fail();
    bool integer = true;
    if (Peek() == '.') {
      ++at_;
      integer = false;
      if (digits() == 0) return Fail();
    }
    const std::size_t mantissa_end = at_;
    long exponent = 0;
    if (Peek() == 'e' || Peek() == 'E') {
      ++at_;
      integer = false;
      const bool negative = Peek() == '-';
      if (Peek() == '+' || Peek() == '-') ++at_;
      const std::size_t from = at_;
      if (digits() == 0) return Fail();
      for (std::size_t k = from; k < at_ && exponent < 100000; ++k) {
        exponent = exponent * 10 + (text_[k] - '0');
      }
      if (negative) exponent = -exponent;
    }
    const std::string_view number = text_.substr(start, at_ - start);
    double parsed = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (error == std::errc::result_out_of_range) {
      // Beyond double's range: too large when its first significant digit stands before the
      // decimal point once the exponent is applied, too small otherwise.
      std::string mantissa;
      for (std::size_t k = first; k < mantissa_end; ++k) {
        if (text_[k] != '.') mantissa += text_[k];
      }
      const auto significant = static_cast<long>(mantissa.find_first_not_of('0'));
      if (exponent + static_cast<long>(whole) - significant - 1 > 0) return Fail();
      parsed = number.front() == '-' ? -0.0 : 0.0;
    } else if (error != std::errc() || end != number.data() + number.size()) {
      return Fail();
    }
    if (integer && parsed == 0) parsed = 0.0;
    if (value != nullptr) *value = parsed;
    return true;
  }

  // A string, decoded into `out` when given: escapes, surrogate pairs, and raw text that must be
  // UTF-8 without control characters.
  bool String(std::string* out) {
    if (Peek() != '"') return Fail();
    ++at_;
    std::string decoded;
    for (;;) {
      if (at_ >= text_.size()) return Fail();
      const auto c = static_cast<unsigned char>(text_[at_]);
      if (c == '"') {
        ++at_;
        break;
      }
      if (c < 0x20) return Fail();
      if (c != '\\') {
        std::size_t end = at_;
        while (end < text_.size() && text_[end] != '"' && text_[end] != '\\' &&
               static_cast<unsigned char>(text_[end]) >= 0x20) {
          ++end;
        }
        const std::string_view raw = text_.substr(at_, end - at_);
        if (!IsUtf8(raw)) return Fail();
        decoded += raw;
        at_ = end;
        continue;
      }
      ++at_;
      const char escape = Peek();
      ++at_;
      switch (escape) {
        case '"':
        case '\\':
        case '/':
          decoded += escape;
          break;
        case 'b':
          decoded += '\b';
          break;
        case 'f':
          decoded += '\f';
          break;
        case 'n':
          decoded += '\n';
          break;
        case 'r':
          decoded += '\r';
          break;
        case 't':
          decoded += '\t';
          break;
        case 'u': {
          char32_t code = 0;
          if (!Hex4(&code)) return Fail();
          if (code >= 0xDC00 && code <= 0xDFFF) return Fail();
          if (code >= 0xD800 && code <= 0xDBFF) {
            char32_t low = 0;
            if (!Word("\\u") || !Hex4(&low) || low < 0xDC00 || low > 0xDFFF) return Fail();
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          decoded += Utf8(code);
          break;
        }
        default:
          return Fail();
      }
    }
    if (out != nullptr) *out = decoded;
    return true;
  }

  bool Hex4(char32_t* code) {
    for (int k = 0; k < 4; ++k) {
      const char c = Peek();
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) return false;
      *code = *code * 16 + static_cast<char32_t>(digit);
      ++at_;
    }
    return true;
  }

  static std::string Utf8(char32_t code) {
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

  std::string_view text_;
  int max_depth_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace fuzz
