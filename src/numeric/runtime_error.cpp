#include "numeric/runtime_error.h"

namespace card {

RuntimeError::RuntimeError(ErrorNumber number) : RuntimeError(number, ErrorText(number)) {}

RuntimeError::RuntimeError(ErrorNumber number, const std::string& text)
    : std::runtime_error(text), number_(number) {}

std::string ErrorText(ErrorNumber number) {
  switch (number) {
    case ErrorNumber::kInvalidCall:
      return "Invalid procedure call or argument";
    case ErrorNumber::kOverflow:
      return "Overflow";
    case ErrorNumber::kSubscriptOutOfRange:
      return "Subscript out of range";
    case ErrorNumber::kDivisionByZero:
      return "Division by zero";
    case ErrorNumber::kTypeMismatch:
      return "Type mismatch";
    case ErrorNumber::kPathFileAccessError:
      return "Path/File access error";
  }
  // A number without a text of its own, as the error report shows it.
  return "Application-defined or object-defined error";
}

}  // namespace card
