#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>

#include "seed/name_rules.h"

namespace card {

// One line of a names file.
struct BatchName {
  int line = 0;      // 1-based
  std::string name;  // as typed, without the line ending
};

// The longest line a name can fill: 100 characters of at most four UTF-8 bytes, and a CR.
inline constexpr std::size_t kMaxNameLineBytes = kMaxNameLength * 4 + 1;

// Input that is not a list of names: binary data, text that is not UTF-8, or a line longer than
// any name. Says on which line it was found.
class NotAListOfNames : public std::runtime_error {
 public:
  NotAListOfNames(int line, const std::string& reason)
      : std::runtime_error("line " + std::to_string(line) + " " + reason), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// A names file read one line at a time, so a batch starts at once and holds one line in memory
// whatever the size of the file. "\n" or "\r\n" ends a line (any other CR is part of the name), an
// empty line is the empty name, a final line ending does not start another name, and one byte order
// mark at the start is skipped.
class NameLines {
 public:
  explicit NameLines(std::istream& in) : in_(*in.rdbuf()) {}
  // The next line, or nothing at the end of the input. Throws NotAListOfNames, having read no
  // further than the end of the longest name.
  std::optional<BatchName> Next();

 private:
  std::streambuf& in_;
  int line_ = 0;
  bool ended_ = false;
};

// The lines NameLines would give for the input, counted without keeping any.
std::size_t CountNameLines(std::istream& in);

}  // namespace card
