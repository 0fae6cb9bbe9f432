#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quorvel::platform {

// One value of a result table: a number (SI units unless its column says otherwise), a text
// exactly as a field shows it, a whole number (a count, a number of a ray or a leg), or
// nothing (a value that does not exist, such as the time of a leg a ray never travelled).
using ResultCell = std::variant<double, std::string, long long, std::monostate>;

struct ResultTable {
  std::string name;
  std::vector<std::string> columns;
  std::vector<std::vector<ResultCell>> rows;
};

// What a window can save of its results: named tables.
struct Results {
  std::string title;
  std::vector<ResultTable> tables;
};

enum class ResultFormat { Csv, Json };

// The format a path asks for by its extension (".csv" or ".json", any case).
std::optional<ResultFormat> resultFormatOf(const std::filesystem::path& path);

// CSV that a spreadsheet in a Russian locale opens as it is: UTF-8 with a byte order mark,
// cells separated by ';', numbers with a decimal comma (up to 15 significant digits, the
// program's own number form; an empty cell or a number that is not finite is empty), lines
// ended by CR LF. The title, then each table as its name,
// its column heads and its rows, tables separated by an empty line. A cell holding ';', a
// quote or a line end is quoted; a text that a spreadsheet would take for a formula
// ("=...", "+...", "-...", "@..." that is not a number) gets a leading apostrophe.
std::string resultsCsv(const Results& results);

// {"title": ..., "tables": [{"name": ..., "columns": [...], "rows": [[...], ...]}]}: numbers
// at full precision, whole numbers as integers, a number that is not finite and an empty
// cell as null.
nlohmann::json resultsJson(const Results& results);

// Writes the results in the format, replacing a file that is there atomically (a new file
// beside it, then renamed over it). False when it cannot be written; the old file stays.
bool writeResults(const Results& results, const std::filesystem::path& path, ResultFormat format);

}  // namespace quorvel::platform
