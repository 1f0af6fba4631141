#pragma once

#include <utility>

#include "numeric/runtime_error.h"
#include "numeric/value.h"

namespace card {

// Runs a procedure's statements one by one. Until SkipErrors() is called an error raised by a
// statement travels to the caller; afterwards a failing statement is abandoned (its target keeps
// its previous value) and the procedure goes on with the next statement.
//
//   Statements s;
//   s.SkipErrors();
//   s.Run([&] { z = one / zero; });  // z is left as it was
class Statements {
 public:
  void SkipErrors() { skipping_ = true; }
  bool skipping() const { return skipping_; }

  template <class Statement>
  void Run(Statement&& statement) {
    if (!skipping_) {
      std::forward<Statement>(statement)();
      return;
    }
    try {
      std::forward<Statement>(statement)();
    } catch (const RuntimeError&) {
      // Abandoned: nothing of the statement takes effect.
    }
  }

  // An If whose condition raises runs its guarded statement when skipping, because execution
  // resumes at the first statement inside the If.
  template <class Condition, class Body>
  void If(Condition&& condition, Body&& body) {
    bool take = false;
    if (!skipping_) {
      take = std::forward<Condition>(condition)();
    } else {
      try {
        take = std::forward<Condition>(condition)();
      } catch (const RuntimeError&) {
        take = true;
      }
    }
    if (take) Run(std::forward<Body>(body));
  }

  // A multi-way jump over `variant_count` variants whose first variant directly follows the jump.
  // Returns the variant that runs: the selector's variant when it converts to 1..variant_count,
  // otherwise variant 1 (a selector of 0 or up to 255 falls through; below 0, above 255 or
  // unconvertible raises, and skipping resumes after the jump as well).
  int Jump(const Value& selector, int variant_count);

 private:
  bool skipping_ = false;
};

// The same jump rule on an already converted selector, for code that dispatches on plain numbers.
// Returns 1..variant_count, or 0 when the conversion raises or the selector lies outside 0..255
// (the jump statement fails; skipping then resumes at variant 1).
int JumpTarget(double selector, int variant_count);

}  // namespace card
