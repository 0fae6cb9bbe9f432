#include "platform/results.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <system_error>

#include "common/atomic_file.h"
#include "common/numbers.h"

namespace quorvel::platform {

namespace {

std::string csvText(const std::string& text) {
  std::string cell = text;
  const bool formulaLike = !cell.empty() &&
                           (cell[0] == '=' || cell[0] == '+' || cell[0] == '-' || cell[0] == '@') &&
                           !common::parseNumber(cell);
  if (formulaLike) cell.insert(cell.begin(), '\'');
  if (cell.find_first_of(";\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string csvCell(const ResultCell& cell) {
  if (const double* number = std::get_if<double>(&cell)) {
    return std::isfinite(*number) ? common::numberText(*number) : std::string();
  }
  if (const long long* whole = std::get_if<long long>(&cell)) return std::to_string(*whole);
  if (const std::string* text = std::get_if<std::string>(&cell)) return csvText(*text);
  return std::string();
}

void csvLine(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out += ';';
    out += cells[i];
  }
  out += "\r\n";
}

}  // namespace

std::optional<ResultFormat> resultFormatOf(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".csv") return ResultFormat::Csv;
  if (extension == ".json") return ResultFormat::Json;
  return std::nullopt;
}

std::string resultsCsv(const Results& results) {
  std::string out = "\xEF\xBB\xBF";
  csvLine(out, {csvText(results.title)});
  for (const ResultTable& table : results.tables) {
    out += "\r\n";
    csvLine(out, {csvText(table.name)});
    std::vector<std::string> heads;
    for (const std::string& column : table.columns) heads.push_back(csvText(column));
    csvLine(out, heads);
    for (const auto& row : table.rows) {
      std::vector<std::string> cells;
      for (const ResultCell& cell : row) cells.push_back(csvCell(cell));
      csvLine(out, cells);
    }
  }
  return out;
}

nlohmann::json resultsJson(const Results& results) {
  nlohmann::json tables = nlohmann::json::array();
  for (const ResultTable& table : results.tables) {
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& row : table.rows) {
      nlohmann::json cells = nlohmann::json::array();
      for (const ResultCell& cell : row) {
        if (const double* number = std::get_if<double>(&cell)) {
          cells.push_back(std::isfinite(*number) ? nlohmann::json(*number) : nlohmann::json());
        } else if (const long long* whole = std::get_if<long long>(&cell)) {
          cells.push_back(*whole);
        } else if (const std::string* text = std::get_if<std::string>(&cell)) {
          cells.push_back(*text);
        } else {
          cells.push_back(nullptr);
        }
      }
      rows.push_back(std::move(cells));
    }
    tables.push_back({{"name", table.name}, {"columns", table.columns}, {"rows", rows}});
  }
  return {{"title", results.title}, {"tables", std::move(tables)}};
}

bool writeResults(const Results& results, const std::filesystem::path& path, ResultFormat format) {
  const std::string bytes =
      format == ResultFormat::Csv
          ? resultsCsv(results)
          : resultsJson(results).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) +
                "\n";
  return common::writeFileAtomically(path, bytes) == common::AtomicWrite::Written;
}

}  // namespace quorvel::platform
