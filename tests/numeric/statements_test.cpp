#include "numeric/statements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "raises.h"

namespace card {
namespace {

TEST(Statements, WithoutSkippingAnErrorLeavesTheProcedure) {
  Statements statements;
  EXPECT_FALSE(statements.skipping());
  Value z = Value::Integer(7);
  int statements_run = 0;
  const auto procedure = [&] {
    statements.Run([&] { z = Value::Integer(1) / Value::Integer(0); });
    statements.Run([&] { ++statements_run; });
  };
  EXPECT_EQ(ErrorOf(procedure), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(z, Value::Integer(7));
  EXPECT_EQ(statements_run, 0);

  bool body_ran = false;
  EXPECT_EQ(ErrorOf([&] {
              statements.If([] { return Less(Value::Text("x"), Value()); },
                            [&] { body_ran = true; });
            }),
            ErrorNumber::kTypeMismatch);
  EXPECT_FALSE(body_ran);
}

TEST(Statements, SkippingAbandonsOnlyTheFailingStatement) {
  Statements statements;
  statements.SkipErrors();
  EXPECT_TRUE(statements.skipping());

  const Value one = Value::Integer(1);
  const Value zero = Value::Integer(0);
  Value z = Value::Single(2.5f);
  std::vector<std::string> trace;
  statements.Run([&] { trace.push_back("before"); });
  statements.Run([&] { z = one / zero; });
  statements.Run([&] { trace.push_back("after"); });
  EXPECT_EQ(z, Value::Single(2.5f));
  EXPECT_EQ(trace, (std::vector<std::string>{"before", "after"}));

  // Every error number is skipped, not only arithmetic ones.
  statements.Run([] { throw RuntimeError(ErrorNumber::kSubscriptOutOfRange); });
  statements.Run([&] { z = Value::Integer(3); });
  EXPECT_EQ(z, Value::Integer(3));

  // Only errors of the numeric model are skipped; a fault in the program itself still escapes.
  EXPECT_THROW(statements.Run([] { throw std::logic_error("bug"); }), std::logic_error);
}

TEST(Statements, IfWhoseConditionRaisesRunsItsBodyWhenSkipping) {
  Statements statements;
  statements.SkipErrors();
  const auto raising = [] { return Greater(Value::Integer(1) / Value(), Value()); };

  int runs = 0;
  statements.If(raising, [&] { ++runs; });
  EXPECT_EQ(runs, 1);
  statements.If([] { return false; }, [&] { ++runs; });
  EXPECT_EQ(runs, 1);
  statements.If([] { return Greater(Value::Integer(2), Value()); }, [&] { ++runs; });
  EXPECT_EQ(runs, 2);

  // A failing guarded statement is itself abandoned and nothing escapes.
  Value z = Value::Integer(4);
  statements.If(raising, [&] { z = Sqr(Value::Integer(-1)); });
  EXPECT_EQ(z, Value::Integer(4));
}

struct JumpCase {
  const char* label;
  Value selector;
  int variant_count;
  int variant;                        // the variant that runs when skipping
  std::optional<ErrorNumber> raised;  // what the jump raises when not skipping
};

void PrintTo(const JumpCase& c, std::ostream* out) {
  *out << c.label;
}

class JumpTest : public ::testing::TestWithParam<JumpCase> {};

TEST_P(JumpTest, ChoosesTheVariantOrFallsThroughToTheFirst) {
  const JumpCase& c = GetParam();

  Statements skipping;
  skipping.SkipErrors();
  EXPECT_EQ(skipping.Jump(c.selector, c.variant_count), c.variant);

  Statements strict;
  if (c.raised) {
    EXPECT_EQ(ErrorOf([&] { strict.Jump(c.selector, c.variant_count); }), c.raised);
  } else {
    EXPECT_EQ(strict.Jump(c.selector, c.variant_count), c.variant);
  }

  if (c.selector.is_numeric()) {
    EXPECT_EQ(JumpTarget(c.selector.number(), c.variant_count), c.raised ? 0 : c.variant);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Selectors, JumpTest,
    ::testing::Values(
        JumpCase{"one", Value::Single(1.0f), 15, 1, std::nullopt},
        JumpCase{"last", Value::Single(15.0f), 15, 15, std::nullopt},
        JumpCase{"zero", Value::Integer(0), 15, 1, std::nullopt},
        JumpCase{"empty", Value(), 15, 1, std::nullopt},
        JumpCase{"minus_half_rounds_to_zero", Value::Double(-0.5), 15, 1, std::nullopt},
        JumpCase{"past_the_last", Value::Integer(16), 15, 1, std::nullopt},
        JumpCase{"largest_fall_through", Value::Integer(255), 15, 1, std::nullopt},
        JumpCase{"half_rounds_down_to_even", Value::Single(2.5f), 15, 2, std::nullopt},
        JumpCase{"half_rounds_up_to_even", Value::Single(3.5f), 15, 4, std::nullopt},
        JumpCase{"rounds_to_16_and_falls_through", Value::Single(15.5f), 15, 1, std::nullopt},
        JumpCase{"rounds_to_14", Value::Double(14.5), 15, 14, std::nullopt},
        JumpCase{"three_variants", Value::Single(3.0f), 3, 3, std::nullopt},
        JumpCase{"four_of_three", Value::Single(4.0f), 3, 1, std::nullopt},
        JumpCase{"negative", Value::Integer(-1), 15, 1, ErrorNumber::kInvalidCall},
        JumpCase{"above_255", Value::Integer(256), 15, 1, ErrorNumber::kInvalidCall},
        JumpCase{"not_an_integer", Value::Long(100000), 15, 1, ErrorNumber::kOverflow},
        JumpCase{"not_a_number", Value::Double(std::nan("")), 15, 1, ErrorNumber::kOverflow},
        JumpCase{"text", Value::Text("3"), 15, 1, ErrorNumber::kTypeMismatch}),
    [](const ::testing::TestParamInfo<JumpCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace card
