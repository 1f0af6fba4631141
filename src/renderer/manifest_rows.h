#pragma once

#include <string>

namespace card {

// What became of one line of a names list.
enum class LineOutcome { kMade, kRefused, kFailed };

struct ManifestRow {
  int line = 0;
  std::string name;  // as typed
  std::string file;  // the card's file name in the batch's folder; empty when none was written
  LineOutcome outcome = LineOutcome::kMade;
  std::string message;  // why a line was refused or failed
};

// A batch's manifest is CSV (RFC 4180: a header row, CR LF, UTF-8) for a file whose name ends in
// .csv and JSON Lines (one object a line) for .jsonl.
enum class ManifestFormat { kCsv, kJsonLines };

// The format the file name asks for, by its extension in any case; nothing for another one.
bool ManifestFormatOf(const std::string& path, ManifestFormat& format);

// What the file starts with: the CSV header row; nothing for JSON Lines.
std::string ManifestHeader(ManifestFormat format);

// The row of one line, with its line ending. Control characters and bytes that are not UTF-8
// show as in messages ("<U+0009>", "<0xE9>"). In CSV every field but the line number is quoted,
// and a text that a spreadsheet would take for a formula (starting with =, +, - or @) is led by
// an apostrophe.
std::string ManifestLine(ManifestFormat format, const ManifestRow& row);

}  // namespace card
