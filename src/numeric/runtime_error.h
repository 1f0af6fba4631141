#pragma once

#include <stdexcept>
#include <string>

namespace card {

// Error numbers as the program's run-time error report shows them.
enum class ErrorNumber : int {
  kInvalidCall = 5,
  kOverflow = 6,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  // Errors of making the folder of the saved cards.
  kPathFileAccessError = 75,
};

// A run-time error raised by a statement. Procedures that skip failing statements swallow it;
// everywhere else it travels to the caller like any exception.
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(ErrorNumber number);
  RuntimeError(ErrorNumber number, const std::string& text);

  ErrorNumber number() const { return number_; }

 private:
  ErrorNumber number_;
};

// The standard text shown with an error number ("Overflow", "Division by zero", ...). A number
// not listed above gets the generic "Application-defined or object-defined error".
std::string ErrorText(ErrorNumber number);

}  // namespace card
