#include "viewer/numbered_file.h"

#include <algorithm>

namespace quorvel::viewer {

namespace {

constexpr std::size_t kExtensionLength = 4;
constexpr std::size_t kMostDigits = 9;  // every such number fits an int

std::optional<int> digitsValue(std::string_view text) {
  if (text.empty() || text.size() > kMostDigits) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = 10 * value + (c - '0');
  }
  return value;
}

}  // namespace

NumberedFile splitNumberedFile(std::string_view path) {
  NumberedFile file;
  const std::size_t stemEnd = path.size() > kExtensionLength ? path.size() - kExtensionLength : 0;
  file.extension = std::string(path.substr(stemEnd));
  // "_" followed by 1, 2 or 3 characters before the extension.
  for (std::size_t digits = 1; digits <= 3; ++digits) {
    if (stemEnd < digits + 1) break;
    const std::size_t underscore = stemEnd - digits - 1;
    if (path[underscore] == '_') {
      file.prefix = std::string(path.substr(0, underscore + 1));
      file.number = digitsValue(path.substr(underscore + 1, digits));
      return file;
    }
  }
  file.number = digitsValue(path.substr(0, stemEnd));
  return file;
}

std::string numberedPath(const NumberedFile& file, int number) {
  return file.prefix + std::to_string(number) + file.extension;
}

}  // namespace quorvel::viewer
