#include "numeric/value.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "numeric/card_maths.h"
#include "numeric/colour_component.h"
#include "numeric/integer_rounding.h"
#include "numeric/single.h"

namespace card {
namespace {

[[noreturn]] void Raise(ErrorNumber number) {
  throw RuntimeError(number);
}

bool FitsInteger(std::int64_t v) {
  return v >= INT16_MIN && v <= INT16_MAX;
}
bool FitsLong(std::int64_t v) {
  return v >= INT32_MIN && v <= INT32_MAX;
}

// The kind an operand takes part in arithmetic with: Empty reads as Integer 0.
Kind OperandKind(const Value& v) {
  switch (v.kind()) {
    case Kind::Empty:
      return Kind::Integer;
    case Kind::Text:
      Raise(ErrorNumber::kTypeMismatch);
    default:
      return v.kind();
  }
}

Kind ResultKind(Kind a, Kind b) {
  if (a == Kind::Double || b == Kind::Double) return Kind::Double;
  // A Single cannot hold every Long, so the pair meets in Double.
  if ((a == Kind::Single && b == Kind::Long) || (a == Kind::Long && b == Kind::Single)) {
    return Kind::Double;
  }
  return a > b ? a : b;
}

Value FiniteDouble(double v) {
  if (!std::isfinite(v)) Raise(ErrorNumber::kOverflow);
  return Value::Double(v);
}

// A Single result, or a Double when the value is too large for a Single.
Value SingleOrDouble(double v) {
  if (FitsSingle(v)) return Value::Single(static_cast<float>(v));
  return FiniteDouble(v);
}

// A whole result of Integer or Long operands, widened one kind at a time until it fits.
Value WholeResult(std::int64_t v, Kind kind) {
  if (kind == Kind::Integer && FitsInteger(v)) return Value::Integer(static_cast<std::int16_t>(v));
  if (FitsLong(v)) return Value::Long(static_cast<std::int32_t>(v));
  return FiniteDouble(static_cast<double>(v));
}

// + - *: the whole operands are exact in double and in int64, and the products of two Longs stay
// below 2^62, so the whole-number path never overflows int64.
template <class WholeOp, class RealOp>
Value Arithmetic(const Value& a, const Value& b, WholeOp whole_op, RealOp real_op) {
  const Kind kind = ResultKind(OperandKind(a), OperandKind(b));
  const double x = a.number();
  const double y = b.number();
  switch (kind) {
    case Kind::Integer:
    case Kind::Long:
      return WholeResult(whole_op(static_cast<std::int64_t>(x), static_cast<std::int64_t>(y)),
                         kind);
    case Kind::Single:
      // Both operands are exact floats, and a double holds more than twice a float's precision,
      // so rounding the double result to float gives the correctly rounded Single.
      return SingleOrDouble(real_op(x, y));
    default:
      return FiniteDouble(real_op(x, y));
  }
}

std::int32_t RoundToLong(const Value& v) {
  const double rounded = std::nearbyint(v.number());
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) Raise(ErrorNumber::kOverflow);
  return static_cast<std::int32_t>(rounded);
}

std::int32_t ColourComponent(const Value& v) {
  std::int32_t component = 0;
  switch (ToColourComponent(v.number(), component)) {
    case ComponentStatus::kOverflow:
      Raise(ErrorNumber::kOverflow);
    case ComponentStatus::kNegative:
      Raise(ErrorNumber::kInvalidCall);
    case ComponentStatus::kOk:
      break;
  }
  return component;
}

}  // namespace

double Value::number() const {
  switch (kind()) {
    case Kind::Empty:
      return 0.0;
    case Kind::Integer:
      return std::get<IndexOf(Kind::Integer)>(storage_);
    case Kind::Long:
      return std::get<IndexOf(Kind::Long)>(storage_);
    case Kind::Single:
      return std::get<IndexOf(Kind::Single)>(storage_);
    case Kind::Double:
      return std::get<IndexOf(Kind::Double)>(storage_);
    case Kind::Text:
      break;
  }
  Raise(ErrorNumber::kTypeMismatch);
}

const std::string& Value::text() const {
  static const std::string kEmptyText;
  if (kind() == Kind::Empty) return kEmptyText;
  if (kind() != Kind::Text) Raise(ErrorNumber::kTypeMismatch);
  return std::get<IndexOf(Kind::Text)>(storage_);
}

Value operator+(const Value& a, const Value& b) {
  return Arithmetic(
      a, b, [](std::int64_t x, std::int64_t y) { return x + y; },
      [](double x, double y) { return x + y; });
}

Value operator-(const Value& a, const Value& b) {
  return Arithmetic(
      a, b, [](std::int64_t x, std::int64_t y) { return x - y; },
      [](double x, double y) { return x - y; });
}

Value operator*(const Value& a, const Value& b) {
  return Arithmetic(
      a, b, [](std::int64_t x, std::int64_t y) { return x * y; },
      [](double x, double y) { return x * y; });
}

Value operator/(const Value& a, const Value& b) {
  const Kind kind_a = OperandKind(a);
  const Kind kind_b = OperandKind(b);
  const double x = a.number();
  const double y = b.number();
  if (y == 0.0) Raise(x == 0.0 ? ErrorNumber::kOverflow : ErrorNumber::kDivisionByZero);
  const double quotient = x / y;
  const bool small_kinds = (kind_a == Kind::Integer || kind_a == Kind::Single) &&
                           (kind_b == Kind::Integer || kind_b == Kind::Single);
  return small_kinds ? SingleOrDouble(quotient) : FiniteDouble(quotient);
}

Value Power(const Value& a, const Value& b) {
  const double base = a.number();
  const double exponent = b.number();
  if (base == 0.0 && exponent == 0.0) return Value::Double(1.0);
  if (base < 0.0 && std::floor(exponent) != exponent) Raise(ErrorNumber::kInvalidCall);
  return FiniteDouble(maths::Pow(base, exponent));
}

Value Mod(const Value& a, const Value& b) {
  const std::int32_t dividend = RoundToLong(a);
  const std::int32_t divisor = RoundToLong(b);
  if (divisor == 0) Raise(ErrorNumber::kDivisionByZero);
  // In int64 because INT32_MIN % -1 overflows in int32; % keeps the sign of the dividend.
  return Value::Long(static_cast<std::int32_t>(std::int64_t{dividend} % divisor));
}

Value Int(const Value& a) {
  switch (OperandKind(a)) {
    case Kind::Single:
      return Value::Single(std::floor(static_cast<float>(a.number())));
    case Kind::Double:
      return Value::Double(std::floor(a.number()));
    default:
      return a.is_empty() ? Value::Integer(0) : a;
  }
}

Value Abs(const Value& a) {
  switch (OperandKind(a)) {
    case Kind::Integer: {
      const std::int64_t magnitude = static_cast<std::int64_t>(std::fabs(a.number()));
      if (!FitsInteger(magnitude)) Raise(ErrorNumber::kOverflow);
      return Value::Integer(static_cast<std::int16_t>(magnitude));
    }
    case Kind::Long: {
      const std::int64_t magnitude = static_cast<std::int64_t>(std::fabs(a.number()));
      if (!FitsLong(magnitude)) Raise(ErrorNumber::kOverflow);
      return Value::Long(static_cast<std::int32_t>(magnitude));
    }
    case Kind::Single:
      return Value::Single(std::fabs(static_cast<float>(a.number())));
    default:
      return Value::Double(std::fabs(a.number()));
  }
}

Value Sin(const Value& a) {
  return FiniteDouble(maths::Sin(a.number()));
}

Value Cos(const Value& a) {
  return FiniteDouble(maths::Cos(a.number()));
}

Value Tan(const Value& a) {
  return FiniteDouble(maths::Tan(a.number()));
}

Value Atn(const Value& a) {
  return FiniteDouble(maths::Atan(a.number()));
}

Value Sqr(const Value& a) {
  const double v = a.number();
  if (v < 0.0) Raise(ErrorNumber::kInvalidCall);
  return FiniteDouble(std::sqrt(v));
}

std::int16_t ToInteger(const Value& a) {
  const std::optional<std::int16_t> rounded = RoundToInteger(a.number());
  if (!rounded) Raise(ErrorNumber::kOverflow);
  return *rounded;
}

std::int32_t ToLong(const Value& a) {
  return RoundToLong(a);
}

float ToSingle(const Value& a) {
  const double v = a.number();
  if (!FitsSingle(v)) Raise(ErrorNumber::kOverflow);
  return static_cast<float>(v);
}

bool Less(const Value& a, const Value& b) {
  return a.number() < b.number();
}
bool Greater(const Value& a, const Value& b) {
  return a.number() > b.number();
}
bool NumericEqual(const Value& a, const Value& b) {
  return a.number() == b.number();
}

std::int32_t RGB(const Value& red, const Value& green, const Value& blue) {
  return ColourComponent(red) + 256 * ColourComponent(green) + 65536 * ColourComponent(blue);
}

std::int32_t QBColor(int n) {
  // Packed as red + 256 * green + 65536 * blue, so 0x800000 is dark blue.
  static constexpr std::array<std::int32_t, 16> kColours = {
      0x000000,  // black
      0x800000,  // blue
      0x008000,  // green
      0x808000,  // cyan
      0x000080,  // red
      0x800080,  // magenta
      0x008080,  // yellow
      0xC0C0C0,  // white
      0x808080,  // grey
      0xFF0000,  // light blue
      0x00FF00,  // light green
      0xFFFF00,  // light cyan
      0x0000FF,  // light red
      0xFF00FF,  // light magenta
      0x00FFFF,  // light yellow
      0xFFFFFF,  // bright white
  };
  if (n < 0 || n > 15) Raise(ErrorNumber::kInvalidCall);
  return kColours[static_cast<std::size_t>(n)];
}

Value StoreAsSingle(double value) {
  if (!FitsSingle(value)) Raise(ErrorNumber::kOverflow);
  return Value::Single(static_cast<float>(value));
}

}  // namespace card
