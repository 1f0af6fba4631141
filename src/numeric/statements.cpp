#include "numeric/statements.h"

#include <cmath>
#include <optional>

#include "numeric/integer_rounding.h"

namespace card {
namespace {

// The variant a converted selector jumps to, or nothing when the jump statement raises.
std::optional<int> VariantFor(int selector, int variant_count) {
  if (selector < 0 || selector > 255) return std::nullopt;
  if (selector >= 1 && selector <= variant_count) return selector;
  return 1;  // 0 and selectors past the last variant fall through to variant 1
}

}  // namespace

int Statements::Jump(const Value& selector, int variant_count) {
  std::int16_t converted = 0;
  try {
    converted = ToInteger(selector);
  } catch (const RuntimeError&) {
    if (!skipping_) throw;
    return 1;
  }
  if (const std::optional<int> variant = VariantFor(converted, variant_count)) return *variant;
  if (!skipping_) throw RuntimeError(ErrorNumber::kInvalidCall);
  // The abandoned jump resumes with the statement after it, the first one of variant 1.
  return 1;
}

int JumpTarget(double selector, int variant_count) {
  const std::optional<std::int16_t> rounded = RoundToInteger(selector);
  if (!rounded) return 0;
  return VariantFor(*rounded, variant_count).value_or(0);
}

}  // namespace card
