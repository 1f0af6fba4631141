#include "renderer/manifest_rows.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

#include "services/text.h"

namespace card {
namespace {

const char* OutcomeWord(LineOutcome outcome) {
  switch (outcome) {
    case LineOutcome::kMade:
      return "made";
    case LineOutcome::kRefused:
      return "refused";
    case LineOutcome::kFailed:
      break;
  }
  return "failed";
}

std::string CsvField(const std::string& text) {
  std::string shown = PrintableText(text);
  if (!shown.empty() && std::string_view("=+-@").find(shown.front()) != std::string_view::npos) {
    shown.insert(0, 1, '\'');
  }
  std::string field = "\"";
  for (const char c : shown) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + "\"";
}

bool EndsWith(const std::string& text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(
      suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

bool ManifestFormatOf(const std::string& path, ManifestFormat& format) {
  if (EndsWith(path, ".csv")) {
    format = ManifestFormat::kCsv;
    return true;
  }
  if (EndsWith(path, ".jsonl")) {
    format = ManifestFormat::kJsonLines;
    return true;
  }
  return false;
}

std::string ManifestHeader(ManifestFormat format) {
  return format == ManifestFormat::kCsv ? "line,name,file,status,message\r\n" : "";
}

std::string ManifestLine(ManifestFormat format, const ManifestRow& row) {
  if (format == ManifestFormat::kCsv) {
    return std::to_string(row.line) + "," + CsvField(row.name) + "," + CsvField(row.file) + "," +
           CsvField(OutcomeWord(row.outcome)) + "," + CsvField(row.message) + "\r\n";
  }
  const nlohmann::ordered_json object = {{"line", row.line},
                                         {"name", PrintableText(row.name)},
                                         {"file", row.file},
                                         {"status", OutcomeWord(row.outcome)},
                                         {"message", PrintableText(row.message)}};
  return object.dump() + "\n";
}

}  // namespace card
