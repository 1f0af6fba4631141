#pragma once

#include <optional>
#include <ostream>

#include "numeric/runtime_error.h"
#include "numeric/value.h"

namespace card {

// The number of the RuntimeError that `action` raises, or nothing when it raises none.
template <class Action>
std::optional<ErrorNumber> ErrorOf(Action&& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return std::nullopt;
}

inline void PrintTo(ErrorNumber number, std::ostream* out) {
  *out << "error " << static_cast<int>(number);
}

// Failure messages show the kind and content of a value instead of its bytes.
inline void PrintTo(const Value& value, std::ostream* out) {
  static constexpr const char* kKindNames[] = {"Empty",  "Integer", "Long",
                                               "Single", "Double",  "Text"};
  *out << kKindNames[static_cast<int>(value.kind())];
  if (value.kind() == Kind::Text) {
    *out << " \"" << value.text() << '"';
  } else if (value.kind() != Kind::Empty) {
    out->precision(17);
    *out << ' ' << value.number();
  }
}

}  // namespace card
