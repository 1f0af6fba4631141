// The names reader against what a names list is: lines ended by LF or CR LF, a last line without
// an ending still a line, one byte order mark at the very start skipped. A line of more than 401
// bytes (100 characters of four bytes and a CR) or one that is not UTF-8 cannot be a name and is
// given as unreadable, and the lines after it are read on; a NUL byte means the input is not text,
// and nothing from its line on is given.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_oracles.h"
#include "renderer/name_lines.h"

namespace {

struct ExpectedLine {
  std::string bytes;
  bool readable;
};

// The lines as the contract splits them, up to the line holding the first NUL byte.
std::vector<ExpectedLine> SplitByContract(std::string text, std::optional<std::size_t>& nul_line) {
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::vector<ExpectedLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    std::string line =
        text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (line.find('\0') != std::string::npos) {
      nul_line = lines.size() + 1;
      return lines;
    }
    if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
    const bool readable = line.size() <= 401 && fuzz::IsUtf8(line);
    lines.push_back({line, readable});
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::optional<std::size_t> nul_line;
  const std::vector<ExpectedLine> expected = SplitByContract(text, nul_line);

  std::istringstream in(text);
  card::NameLines reader(in);
  std::size_t given = 0;
  try {
    while (const auto line = reader.Next()) {
      fuzz::Require(given < expected.size(), "a line too many");
      const ExpectedLine& want = expected[given++];
      fuzz::Require(line->line == static_cast<int>(given), "line numbers do not run 1, 2, 3");
      fuzz::Require(line->unreadable.empty() == want.readable, "a line judged wrongly readable");
      if (want.readable) fuzz::Require(line->name == want.bytes, "a name not as typed");
      fuzz::Require(fuzz::IsPrintable(line->unreadable), "the reason prints a control character");
    }
    fuzz::Require(!nul_line, "a NUL byte was taken for text");
  } catch (const card::NotAListOfNames& error) {
    fuzz::Require(nul_line.has_value(), "text was taken for binary data");
    fuzz::Require(static_cast<std::size_t>(error.line()) == *nul_line, "the NUL's line is wrong");
    fuzz::Require(fuzz::IsPrintable(error.what()), "the message prints a control character");
  }
  fuzz::Require(given == expected.size() || nul_line.has_value(), "lines were lost");
  if (!nul_line) {
    std::istringstream again(text);
    fuzz::Require(card::CountNameLines(again) == expected.size(), "the line count is wrong");
  }
  return 0;
}
