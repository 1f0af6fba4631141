#include "numeric/value.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "raises.h"

namespace card {
namespace {

const Value kEmpty;
Value I(std::int16_t v) {
  return Value::Integer(v);
}
Value L(std::int32_t v) {
  return Value::Long(v);
}
Value S(float v) {
  return Value::Single(v);
}
Value D(double v) {
  return Value::Double(v);
}

TEST(ValueArithmetic, ResultTakesTheWiderKind) {
  EXPECT_EQ(I(2) + I(3), I(5));
  EXPECT_EQ(I(2) * L(3), L(6));
  EXPECT_EQ(L(5) - L(3), L(2));  // a small Long result stays a Long
  EXPECT_EQ(I(3) * S(0.5f), S(1.5f));
  EXPECT_EQ(S(0.5f) * L(3), D(1.5));  // Single with Long meets in Double
  EXPECT_EQ(L(3) + S(0.25f), D(3.25));
  EXPECT_EQ(S(0.5f) * D(3.0), D(1.5));
  EXPECT_EQ(I(1) - D(0.25), D(0.75));
  // Empty takes part as the Integer 0.
  EXPECT_EQ(kEmpty * I(5), I(0));
  EXPECT_EQ(kEmpty + kEmpty, I(0));
  EXPECT_EQ(kEmpty - S(2.0f), S(-2.0f));
}

TEST(ValueArithmetic, WholeResultsWidenInsteadOfWrapping) {
  EXPECT_EQ(I(32767) + I(1), L(32768));
  EXPECT_EQ(I(-32768) - I(1), L(-32769));
  EXPECT_EQ(I(-32768) * I(-32768), L(1073741824));
  EXPECT_EQ(I(300) * I(300), L(90000));
  EXPECT_EQ(L(INT32_MAX) + I(1), D(2147483648.0));
  EXPECT_EQ(L(INT32_MIN) - L(1), D(-2147483649.0));
  EXPECT_EQ(L(INT32_MIN) * L(INT32_MIN), D(4611686018427387904.0));
  EXPECT_EQ(L(-65536) * L(65536), D(-4294967296.0));
}

TEST(ValueArithmetic, SingleResultsRoundToFloatOrWiden) {
  EXPECT_EQ(S(0.1f) + S(0.2f), S(0.1f + 0.2f));
  EXPECT_EQ(S(1.0f) - S(0x1p-30f), S(1.0f));  // rounds like float arithmetic
  // Too large for a Single: the result carries on as a Double.
  EXPECT_EQ(S(3e38f) * I(10), D(static_cast<double>(3e38f) * 10.0));
  EXPECT_EQ(S(FLT_MAX) + S(FLT_MAX), D(2.0 * static_cast<double>(FLT_MAX)));
  // A non-finite Double result is an overflow.
  EXPECT_EQ(ErrorOf([] { return D(1e308) * I(10); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return D(-DBL_MAX) - D(DBL_MAX); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return D(std::numeric_limits<double>::quiet_NaN()) + I(1); }),
            ErrorNumber::kOverflow);
}

TEST(ValueArithmetic, TextIsATypeMismatch) {
  const Value text = Value::Text("abc");
  EXPECT_EQ(ErrorOf([&] { return text + I(1); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return I(1) * text; }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return D(1) / text; }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return Power(text, I(2)); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return Mod(I(5), text); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return Int(text); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return Abs(text); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return Sin(text); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return ToInteger(text); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return Less(text, I(1)); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { return text.number(); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { return I(1).text(); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(text.text(), "abc");
  EXPECT_EQ(kEmpty.text(), "");
  EXPECT_EQ(kEmpty.number(), 0.0);
}

TEST(ValueDivision, QuotientKindAndErrors) {
  EXPECT_EQ(I(12) / I(2), S(6.0f));
  EXPECT_EQ(I(700) / I(12), S(static_cast<float>(700.0 / 12.0)));
  EXPECT_EQ(I(525) / I(9), S(static_cast<float>(525.0 / 9.0)));
  EXPECT_EQ(S(1.0f) / I(3), S(1.0f / 3.0f));
  EXPECT_EQ(L(12) / I(2), D(6.0));
  EXPECT_EQ(I(1) / L(4), D(0.25));
  EXPECT_EQ(I(1) / D(4.0), D(0.25));
  EXPECT_EQ(kEmpty / I(4), S(0.0f));
  // A Single quotient too large for a Single is kept as a Double.
  EXPECT_EQ(S(3e38f) / S(0.125f), D(static_cast<double>(3e38f) * 8.0));

  EXPECT_EQ(ErrorOf([] { return I(5) / kEmpty; }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { return D(-5) / S(0.0f); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { return I(5) / D(-0.0); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { return I(0) / I(0); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return kEmpty / kEmpty; }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return D(0.0) / L(0); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return D(1e300) / D(1e-300); }), ErrorNumber::kOverflow);
}

TEST(ValueFunctions, PowerAndRoots) {
  EXPECT_EQ(Power(I(-8), I(2)), D(64.0));
  EXPECT_EQ(Power(I(2), I(10)), D(1024.0));
  EXPECT_EQ(Power(I(-2), I(3)), D(-8.0));
  EXPECT_EQ(Power(I(0), I(0)), D(1.0));
  EXPECT_EQ(Power(kEmpty, kEmpty), D(1.0));
  EXPECT_EQ(Power(I(4), D(0.5)), D(2.0));
  EXPECT_EQ(ErrorOf([] { return Power(I(-8), D(0.5)); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { return Power(S(-8.0f), D(1.0 / 3.0)); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { return Power(I(10), I(400)); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return Power(I(0), I(-1)); }), ErrorNumber::kOverflow);

  EXPECT_EQ(Sqr(I(9)), D(3.0));
  EXPECT_EQ(Sqr(kEmpty), D(0.0));
  EXPECT_EQ(ErrorOf([] { return Sqr(D(-1e-300)); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(Sin(I(0)), D(0.0));
  EXPECT_EQ(Cos(kEmpty), D(1.0));
  EXPECT_EQ(Tan(S(1.0f)), D(std::tan(1.0)));
  EXPECT_EQ(Atn(I(1)), D(std::atan(1.0)));
}

TEST(ValueFunctions, ModRoundsOperandsToLongFirst) {
  EXPECT_EQ(Mod(D(674.5), I(280)), L(114));  // 674.5 rounds down to the even 674
  EXPECT_EQ(Mod(D(675.5), I(280)), L(116));  // 675.5 rounds up to the even 676
  EXPECT_EQ(Mod(S(2.5f), I(10)), L(2));
  EXPECT_EQ(Mod(I(-7), I(3)), L(-1));  // the remainder keeps the sign of the dividend
  EXPECT_EQ(Mod(I(7), I(-3)), L(1));
  EXPECT_EQ(Mod(D(-1.5), I(280)), L(-2));
  EXPECT_EQ(Mod(L(INT32_MIN), I(-1)), L(0));
  EXPECT_EQ(Mod(kEmpty, I(3)), L(0));
  EXPECT_EQ(ErrorOf([] { return Mod(I(5), D(0.4)); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { return Mod(I(5), D(-0.5)); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { return Mod(I(5), kEmpty); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { return Mod(D(3e9), I(7)); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return Mod(I(7), D(-2147483648.6)); }), ErrorNumber::kOverflow);
}

TEST(ValueFunctions, IntAndAbsKeepTheKind) {
  EXPECT_EQ(Int(D(-0.5)), D(-1.0));
  EXPECT_EQ(Int(D(2.9)), D(2.0));
  EXPECT_EQ(Int(S(-0.5f)), S(-1.0f));
  EXPECT_EQ(Int(S(16.99f)), S(16.0f));
  EXPECT_EQ(Int(I(-7)), I(-7));
  EXPECT_EQ(Int(L(100000)), L(100000));
  EXPECT_EQ(Int(kEmpty), I(0));

  EXPECT_EQ(Abs(I(-5)), I(5));
  EXPECT_EQ(Abs(L(-70000)), L(70000));
  EXPECT_EQ(Abs(S(-1.5f)), S(1.5f));
  EXPECT_EQ(Abs(D(-2.25)), D(2.25));
  EXPECT_EQ(Abs(I(32767)), I(32767));
  EXPECT_EQ(ErrorOf([] { return Abs(I(-32768)); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return Abs(L(INT32_MIN)); }), ErrorNumber::kOverflow);
}

TEST(ValueConversion, RoundsToNearestWithTiesToEven) {
  EXPECT_EQ(ToInteger(D(2.5)), 2);
  EXPECT_EQ(ToInteger(D(3.5)), 4);
  EXPECT_EQ(ToInteger(D(-2.5)), -2);
  EXPECT_EQ(ToInteger(S(2.4999f)), 2);
  EXPECT_EQ(ToInteger(kEmpty), 0);
  EXPECT_EQ(ToInteger(D(32767.4)), 32767);
  EXPECT_EQ(ToInteger(D(-32768.5)), -32768);  // the even neighbour is still in range
  EXPECT_EQ(ErrorOf([] { return ToInteger(D(32767.5)); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return ToInteger(D(-32769.0)); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return ToInteger(D(std::nan(""))); }), ErrorNumber::kOverflow);

  EXPECT_EQ(ToLong(D(2147483647.4)), INT32_MAX);
  EXPECT_EQ(ToLong(D(-2147483648.5)), INT32_MIN);
  EXPECT_EQ(ToLong(D(0.5)), 0);
  EXPECT_EQ(ToLong(D(1.5)), 2);
  EXPECT_EQ(ErrorOf([] { return ToLong(D(2147483647.5)); }), ErrorNumber::kOverflow);

  EXPECT_EQ(ToSingle(D(0.1)), 0.1f);
  EXPECT_EQ(ToSingle(L(16777217)), 16777216.0f);
  EXPECT_EQ(ToSingle(D(static_cast<double>(FLT_MAX))), FLT_MAX);
  EXPECT_EQ(ErrorOf([] { return ToSingle(D(1e39)); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return ToSingle(D(-1e39)); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return ToSingle(D(std::nan(""))); }), ErrorNumber::kOverflow);

  EXPECT_EQ(StoreAsSingle(700.0 / 12.0), S(static_cast<float>(700.0 / 12.0)));
  EXPECT_EQ(StoreAsSingle(-0.0), S(-0.0f));
  EXPECT_EQ(ErrorOf([] { return StoreAsSingle(1e39); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { return StoreAsSingle(HUGE_VAL); }), ErrorNumber::kOverflow);
}

TEST(ValueComparison, ComparesNumbersAcrossKinds) {
  EXPECT_TRUE(Less(kEmpty, I(1)));
  EXPECT_FALSE(Less(kEmpty, kEmpty));
  EXPECT_TRUE(NumericEqual(kEmpty, D(0.0)));
  EXPECT_TRUE(NumericEqual(I(6), S(6.0f)));
  EXPECT_FALSE(NumericEqual(S(0.1f), D(0.1)));
  EXPECT_TRUE(Greater(S(0.5f), I(0)));
  EXPECT_FALSE(Greater(I(-1), kEmpty));
  EXPECT_TRUE(Greater(L(100000), I(32767)));
  EXPECT_TRUE(Less(D(-0.5), kEmpty));
}

TEST(Colour, RgbPacksClampedIntegerComponents) {
  EXPECT_EQ(RGB(I(1), I(2), I(3)), 1 + 2 * 256 + 3 * 65536);
  EXPECT_EQ(RGB(I(300), I(0), I(0)), RGB(I(255), I(0), I(0)));
  EXPECT_EQ(RGB(I(300), I(0), I(0)), 255);
  EXPECT_EQ(RGB(I(0), D(999.0), I(0)), 255 * 256);
  EXPECT_EQ(RGB(D(2.5), D(3.5), S(255.5f)), 2 + 4 * 256 + 255 * 65536);
  EXPECT_EQ(RGB(kEmpty, kEmpty, kEmpty), 0);
  EXPECT_EQ(RGB(D(-0.4), I(0), I(0)), 0);
  EXPECT_EQ(ErrorOf([] { return RGB(I(-1), I(0), I(0)); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { return RGB(I(0), I(0), D(40000.0)); }), ErrorNumber::kOverflow);
}

TEST(Colour, QBColorGivesTheSixteenConsoleColours) {
  EXPECT_EQ(QBColor(0), 0);
  EXPECT_EQ(QBColor(15), RGB(I(255), I(255), I(255)));
  // Red is the low byte: a swapped red and blue would show here.
  EXPECT_EQ(QBColor(4), RGB(I(128), I(0), I(0)));
  EXPECT_EQ(QBColor(12), RGB(I(255), I(0), I(0)));
  EXPECT_EQ(QBColor(1), RGB(I(0), I(0), I(128)));
  EXPECT_EQ(QBColor(9), RGB(I(0), I(0), I(255)));
  EXPECT_EQ(QBColor(6), RGB(I(128), I(128), I(0)));
  EXPECT_EQ(QBColor(3), RGB(I(0), I(128), I(128)));
  EXPECT_EQ(QBColor(7), RGB(I(192), I(192), I(192)));
  EXPECT_EQ(QBColor(8), RGB(I(128), I(128), I(128)));
  EXPECT_EQ(QBColor(10), RGB(I(0), I(255), I(0)));
  EXPECT_EQ(ErrorOf([] { return QBColor(16); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { return QBColor(-1); }), ErrorNumber::kInvalidCall);
}

TEST(RuntimeErrors, CarryNumberAndStandardText) {
  EXPECT_EQ(ErrorText(ErrorNumber::kInvalidCall), "Invalid procedure call or argument");
  EXPECT_EQ(ErrorText(ErrorNumber::kOverflow), "Overflow");
  EXPECT_EQ(ErrorText(ErrorNumber::kSubscriptOutOfRange), "Subscript out of range");
  EXPECT_EQ(ErrorText(ErrorNumber::kDivisionByZero), "Division by zero");
  EXPECT_EQ(ErrorText(ErrorNumber::kTypeMismatch), "Type mismatch");
  EXPECT_EQ(ErrorText(ErrorNumber::kPathFileAccessError), "Path/File access error");
  EXPECT_EQ(ErrorText(static_cast<ErrorNumber>(1000)),
            "Application-defined or object-defined error");

  const RuntimeError overflow(ErrorNumber::kOverflow);
  EXPECT_EQ(overflow.number(), ErrorNumber::kOverflow);
  EXPECT_STREQ(overflow.what(), "Overflow");
  const RuntimeError custom(ErrorNumber::kPathFileAccessError, "Path/File access error: C:\\wimgx");
  EXPECT_EQ(custom.number(), ErrorNumber::kPathFileAccessError);
  EXPECT_STREQ(custom.what(), "Path/File access error: C:\\wimgx");
}

}  // namespace
}  // namespace card
