#include "renderer/name_lines.h"

#include <algorithm>

#include "numeric/text.h"

namespace card {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kByteOrderMarkBytes = 3;

bool IsUtf8(const std::string& text) {
  for (std::size_t pos = 0; pos < text.size();) {
    // Malformed input decodes to U+FFFD too; only its own three bytes are the character itself.
    const std::size_t start = pos;
    if (DecodeUtf8(text, pos) == U'\uFFFD' && text.compare(start, 3, "\xEF\xBF\xBD") != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<BatchName> NameLines::Next() {
  if (ended_) return std::nullopt;
  ++line_;
  const std::size_t limit = kMaxNameLineBytes + (line_ == 1 ? kByteOrderMarkBytes : 0);
  std::string bytes;
  bool line_feed = false;
  for (int c = in_.sbumpc(); c != std::char_traits<char>::eof(); c = in_.sbumpc()) {
    if (c == '\n') {
      line_feed = true;
      break;
    }
    if (c == '\0') throw NotAListOfNames(line_, "holds a NUL byte: the input is binary data");
    if (bytes.size() == limit) {
      throw NotAListOfNames(line_, "is longer than any name can be (" +
                                       std::to_string(kMaxNameLength) + " characters)");
    }
    bytes.push_back(static_cast<char>(c));
  }
  if (!line_feed) {
    ended_ = true;
    if (bytes.empty()) return std::nullopt;
  }
  if (line_feed && !bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  if (line_ == 1 && bytes.compare(0, kByteOrderMarkBytes, kByteOrderMark) == 0) {
    bytes.erase(0, kByteOrderMarkBytes);
  }
  if (!IsUtf8(bytes)) throw NotAListOfNames(line_, "is not UTF-8 text");
  return BatchName{line_, std::move(bytes)};
}

std::size_t CountNameLines(std::istream& in) {
  std::size_t lines = 0;
  char last = '\n';
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const auto got = static_cast<std::size_t>(in.gcount());
    lines += static_cast<std::size_t>(std::count(buffer, buffer + got, '\n'));
    last = buffer[got - 1];
  }
  return lines + (last == '\n' ? 0 : 1);
}

}  // namespace card
