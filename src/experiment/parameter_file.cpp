#include "experiment/parameter_file.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "common/atomic_file.h"
#include "common/numbers.h"

namespace quorvel::experiment {

long long scaledParameter(double value) {
  const double product = value * 1e9;
  if (!std::isfinite(product) || std::fabs(product) >= 9.2e18) {
    throw common::ArithmeticError("Арифметическая ошибка: значение вне допустимого диапазона");
  }
  char digits[40];
  auto written =
      std::to_chars(digits, digits + sizeof digits, product, std::chars_format::scientific, 14);
  double rounded = product;
  std::from_chars(digits, written.ptr, rounded);
  return static_cast<long long>(std::trunc(rounded));
}

std::string parameterLine(const ParameterValues& values) {
  std::string line;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    line += std::to_string(scaledParameter(values[i]));
  }
  return line;
}

SaveResult saveParameterFile(const std::filesystem::path& path, const ParameterValues& values) {
  const std::string line = parameterLine(values) + "\n";
  switch (common::writeFileAtomically(path, line)) {
    case common::AtomicWrite::Written:
      return SaveResult::Saved;
    case common::AtomicWrite::CannotCreate:
      return SaveResult::CannotOpen;
    case common::AtomicWrite::NameTooLong:
      return SaveResult::NameTooLong;
    case common::AtomicWrite::WriteFailed:
      break;
  }
  return SaveResult::WriteFailed;
}

std::string nameTooLongMessage(const std::string& name, const std::filesystem::path& path) {
  const std::string fileName = path.filename().string();
  const std::size_t limit = common::fileNameLimit(path.parent_path());
  // The file name is the name with its fixed prefix and extension around it.
  const std::size_t fixed = fileName.size() > name.size() ? fileName.size() - name.size() : 0;
  const std::size_t nameLimit = limit > fixed ? limit - fixed : 0;
  return "Ошибка записи в файл \\Dat\\" + fileName + ": имя файла длиной " +
         std::to_string(fileName.size()) +
         " байт слишком длинное, файловая система допускает не более " + std::to_string(limit) +
         " байт (в поле имени — не более " + std::to_string(nameLimit) +
         " байт, буква кириллицы занимает 2 байта)";
}

LoadResult loadParameterFile(const std::filesystem::path& path) {
  LoadResult result;
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return result;
  std::ifstream file(path, std::ios::binary);
  if (!file) return result;
  result.error = LoadError::CannotRead;
  std::string text(1 << 20, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  // Values are separated by commas, blanks or line ends; an empty place between two commas
  // is no value, and the file is not read then.
  std::vector<std::string> words;
  std::string word;
  bool emptyField = true;  // no value since the last comma (or the start)
  for (char c : text + ' ') {
    const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (c == ',' || blank) {
      if (!word.empty()) {
        words.push_back(word);
        word.clear();
        emptyField = false;
      }
      if (c == ',') {
        if (emptyField) return result;
        emptyField = true;
      }
    } else {
      word += c;
    }
  }
  if (words.size() < static_cast<std::size_t>(kParameterCount)) return result;
  ParameterValues values{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    auto number = common::parseNumber(words[i]);
    if (!number) return result;
    values[i] = *number / 1e9;
  }
  result.values = values;
  return result;
}

}  // namespace quorvel::experiment
