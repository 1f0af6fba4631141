#include "form/form1.h"
#include "services/text.h"

namespace card {

// Asks for the name until the answer is acceptable, then derives the seed from its characters
// and resets the generator, so the card that follows depends on the name alone.
void Form1::AskName() {
  const Value max_length = Value::Integer(100);
  const Value lowest = Value::Integer(97);    // "a"
  const Value highest = Value::Integer(122);  // "z"
  for (;;) {
    Value bad = Value::Integer(0);
    Value sum = Value::Integer(0);
    t = platform_.dialog.InputBox(t1 + Chr(13) + t2, 500, 8700);
    if (exit_requested_) throw CardInterrupted{};
    dolz = Value::Long(Len(t));
    if (Greater(dolz, max_length)) continue;  // too long to examine further
    const std::int32_t length = Len(t);
    for (std::int32_t k = 1; k <= length; ++k) {
      const std::string ch = Mid(t, k, 1);
      codes[static_cast<std::size_t>(k)] = Value::Integer(Asc(ch));
      const Value& code = codes[static_cast<std::size_t>(k)];
      if (ch != " " && (Greater(code, highest) || Less(code, lowest))) bad = Value::Integer(1);
    }
    if (NumericEqual(bad, Value::Integer(1))) continue;

    seed = Value::Long(234567);
    for (std::int32_t k = 1; k <= length; ++k) {
      // Every character adds its code plus the length of the whole name.
      sum = sum + codes[static_cast<std::size_t>(k)] + dolz;
    }
    seed = seed + sum * dolz;
    generator_.Rnd(-1);
    generator_.Randomize(seed.number());
    return;
  }
}

}  // namespace card
