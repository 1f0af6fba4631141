#include "renderer/name_lines.h"

#include <algorithm>
#include <cstdio>

#include "services/text.h"

namespace card {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kByteOrderMarkBytes = 3;

// The offset of the first byte that is not part of well-formed UTF-8, or npos.
std::size_t FirstNonUtf8Byte(const std::string& text) {
  for (std::size_t pos = 0; pos < text.size();) {
    // Malformed input decodes to U+FFFD too; only its own three bytes are the character itself.
    const std::size_t start = pos;
    if (DecodeUtf8(text, pos) == U'\uFFFD' && text.compare(start, 3, "\xEF\xBF\xBD") != 0) {
      return start;
    }
  }
  return std::string::npos;
}

NotAListOfNames NulByte(int line) {
  return NotAListOfNames(line, "holds a NUL byte: the input is binary data, not text");
}

}  // namespace

std::optional<BatchName> NameLines::Next() {
  if (ended_) return std::nullopt;
  ++line_;
  const std::size_t limit = kMaxNameLineBytes + (line_ == 1 ? kByteOrderMarkBytes : 0);
  constexpr int kEnd = std::char_traits<char>::eof();
  std::string bytes;
  std::size_t length = 0;  // bytes of the line, those beyond the limit only counted
  bool line_feed = false;
  int last = kEnd;
  for (int c = in_.sbumpc(); c != kEnd; last = c, c = in_.sbumpc()) {
    if (c == '\n') {
      line_feed = true;
      break;
    }
    if (c == '\0') throw NulByte(line_);
    if (++length <= limit) bytes.push_back(static_cast<char>(c));
  }
  if (!line_feed) ended_ = true;
  if (line_ == 1 && bytes.compare(0, kByteOrderMarkBytes, kByteOrderMark) == 0) {
    bytes.erase(0, kByteOrderMarkBytes);
    length -= kByteOrderMarkBytes;
  }
  if (!line_feed && length == 0) return std::nullopt;
  if (line_feed && last == '\r') {
    if (length == bytes.size()) bytes.pop_back();
    --length;
  }
  BatchName result{line_, {}, {}};
  if (length > kMaxNameLineBytes) {
    result.unreadable = "the line has " + std::to_string(length) +
                        " bytes, more than any name of at most " + std::to_string(kMaxNameLength) +
                        " characters";
  } else if (const std::size_t bad = FirstNonUtf8Byte(bytes); bad != std::string::npos) {
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(bytes[bad]));
    result.unreadable =
        "the line is not UTF-8 text (byte " + std::to_string(bad + 1) + " is " + byte + ")";
    result.name = std::move(bytes);
  } else {
    result.name = std::move(bytes);
  }
  return result;
}

std::size_t CountNameLines(std::istream& in) {
  std::size_t lines = 0;
  std::size_t total = 0;
  char last = '\n';
  char buffer[65536];
  bool starts_with_mark = false;
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const auto got = static_cast<std::size_t>(in.gcount());
    if (total == 0) {
      starts_with_mark = std::string_view(buffer, got).substr(0, kByteOrderMarkBytes) ==
                         std::string_view(kByteOrderMark);
    }
    total += got;
    lines += static_cast<std::size_t>(std::count(buffer, buffer + got, '\n'));
    last = buffer[got - 1];
  }
  // A byte order mark alone is a list of no names.
  if (starts_with_mark && total == kByteOrderMarkBytes) return 0;
  return lines + (last == '\n' ? 0 : 1);
}

}  // namespace card
