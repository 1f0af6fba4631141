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
  std::string name;  // as typed, without the line ending; empty for a line too long for a name
  // Why the line cannot even be judged as a name (longer than any name, or not UTF-8 text); empty
  // for a line that the name rules judge. Such a line is refused like any other refused name.
  std::string unreadable;
};

// The longest line a name can fill: 100 characters of at most four UTF-8 bytes, and a CR.
inline constexpr std::size_t kMaxNameLineBytes = kMaxNameLength * 4 + 1;

// Input that is plainly not text (it holds a NUL byte), so no line from here on is read. Says on
// which line it was found.
class NotAListOfNames : public std::runtime_error {
 public:
  NotAListOfNames(int line, const std::string& reason)
      : std::runtime_error("line " + std::to_string(line) + " " + reason), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// A names file read one line at a time, so a batch starts at once and holds at most one name's
// bytes in memory whatever the size of the file or of a line. "\n" or "\r\n" ends a line (any
// other CR is part of the name), an empty line is the empty name, a final line ending does not
// start another name, and one byte order mark at the start is skipped.
class NameLines {
 public:
  explicit NameLines(std::istream& in) : in_(*in.rdbuf()) {}
  // The next line, or nothing at the end of the input. A line too long for any name is read to
  // its end without being kept. Throws NotAListOfNames at a NUL byte.
  std::optional<BatchName> Next();

 private:
  std::streambuf& in_;
  int line_ = 0;
  bool ended_ = false;
};

// The lines NameLines would give for the input, counted without keeping any.
std::size_t CountNameLines(std::istream& in);

}  // namespace card
