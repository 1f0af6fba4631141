#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>

#include "numeric/runtime_error.h"

namespace card {

enum class Kind : std::uint8_t { Empty, Integer, Long, Single, Double, Text };

// A dynamically typed value: Empty, 16-bit Integer, 32-bit Long, Single (float), Double or Text.
// Arithmetic follows the kind rules of the program's numeric model: the wider kind wins in the
// order Integer, Long, Single, Double (Single with Long gives Double), Empty counts as Integer 0,
// integer results widen instead of wrapping, and a non-finite Double result raises Overflow.
// A value's content, held at the index of its kind: the static_asserts below tie the two lists.
using ValueStorage =
    std::variant<std::monostate, std::int16_t, std::int32_t, float, double, std::string>;
constexpr std::size_t IndexOf(Kind kind) {
  return static_cast<std::size_t>(kind);
}
template <Kind kKind>
using ValueContent = std::variant_alternative_t<IndexOf(kKind), ValueStorage>;
static_assert(std::is_same_v<ValueContent<Kind::Empty>, std::monostate>);
static_assert(std::is_same_v<ValueContent<Kind::Integer>, std::int16_t>);
static_assert(std::is_same_v<ValueContent<Kind::Long>, std::int32_t>);
static_assert(std::is_same_v<ValueContent<Kind::Single>, float>);
static_assert(std::is_same_v<ValueContent<Kind::Double>, double>);
static_assert(std::is_same_v<ValueContent<Kind::Text>, std::string>);
static_assert(std::variant_size_v<ValueStorage> == IndexOf(Kind::Text) + 1);

class Value {
 public:
  Value() = default;  // Empty

  static Value Integer(std::int16_t v) {
    return Value(std::in_place_index<IndexOf(Kind::Integer)>, v);
  }
  static Value Long(std::int32_t v) { return Value(std::in_place_index<IndexOf(Kind::Long)>, v); }
  static Value Single(float v) { return Value(std::in_place_index<IndexOf(Kind::Single)>, v); }
  static Value Double(double v) { return Value(std::in_place_index<IndexOf(Kind::Double)>, v); }
  static Value Text(std::string v) {
    return Value(std::in_place_index<IndexOf(Kind::Text)>, std::move(v));
  }

  Kind kind() const { return static_cast<Kind>(storage_.index()); }
  bool is_empty() const { return kind() == Kind::Empty; }
  bool is_numeric() const { return kind() != Kind::Text; }

  // The numeric content as a double; Empty reads as 0. Text raises a type mismatch.
  double number() const;
  // The text content; Empty reads as "". Numbers raise a type mismatch (the program never
  // needs their printed form).
  const std::string& text() const;

  // Exact equality of kind and content, for tests and carry-over checks (not the `=` operator of
  // the numeric model, which is NumericEqual).
  friend bool operator==(const Value& a, const Value& b) { return a.storage_ == b.storage_; }

 private:
  using Storage = ValueStorage;
  template <std::size_t kIndex, class T>
  Value(std::in_place_index_t<kIndex> kind, T&& content)
      : storage_(kind, std::forward<T>(content)) {}
  Storage storage_;
};

// Arithmetic operators of the numeric model.
Value operator+(const Value& a, const Value& b);
Value operator-(const Value& a, const Value& b);
Value operator*(const Value& a, const Value& b);
// Single when both operands are Integer or Single (Double if that overflows), Double otherwise.
// Raises DivisionByZero for a zero divisor, Overflow for 0 / 0 or a non-finite quotient.
Value operator/(const Value& a, const Value& b);

Value Power(const Value& a, const Value& b);  // a ^ b, always Double; 0 ^ 0 is 1
// Operands rounded to Long first (ties to even); a Long remainder with the sign of `a`. Raises
// DivisionByZero when the rounded `b` is 0, Overflow when an operand does not fit a Long.
Value Mod(const Value& a, const Value& b);
Value Int(const Value& a);  // floor, same kind (Empty gives Integer 0)
Value Abs(const Value& a);  // magnitude, same kind; Overflow for the most negative Integer or Long
Value Sin(const Value& a);
Value Cos(const Value& a);
Value Tan(const Value& a);
Value Atn(const Value& a);
Value Sqr(const Value& a);  // raises InvalidCall for a negative argument

// Conversions: round to nearest with ties to even, Overflow outside the target's range.
std::int16_t ToInteger(const Value& a);
std::int32_t ToLong(const Value& a);
float ToSingle(const Value& a);  // nearest Single; Overflow when out of range

// Comparisons `<`, `>`, `=`: numeric, Empty compares as 0.
bool Less(const Value& a, const Value& b);
bool Greater(const Value& a, const Value& b);
bool NumericEqual(const Value& a, const Value& b);

// Packed colour red + 256 * green + 65536 * blue; each component is converted to Integer first and
// a component above 255 counts as 255. A negative component raises InvalidCall.
std::int32_t RGB(const Value& red, const Value& green, const Value& blue);
// The sixteen classic console colours; 0 is black and 15 bright white. Other numbers raise
// InvalidCall.
std::int32_t QBColor(int n);

// The result of `value` stored as a Single, as an assignment to a Single-typed variable does.
// Used where an expression is evaluated in double precision and its result kept as a Single.
Value StoreAsSingle(double value);

}  // namespace card
