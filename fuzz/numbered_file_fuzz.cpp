// The numbered-file split: any path splits into a prefix, a number and an extension that
// spell the path again, and stepping the number (as "Следующий" and "Предыдущий" do) gives
// a name that splits back into the same series and the new number, for every number the
// split can read (1 to 3 digits after a "_", up to 9 digits without a prefix).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "viewer/numbered_file.h"

namespace {

using quorvel::fuzz::require;

bool allDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel::viewer;
  if (size == 0) return 0;
  // The first byte is the step, −127 … 127; −128 goes to the largest number the split reads.
  const int step = static_cast<int>(static_cast<std::int8_t>(data[0]));
  const std::string_view path(reinterpret_cast<const char*>(data) + 1, size - 1);
  const NumberedFile file = splitNumberedFile(path);

  // prefix + middle + extension is the path; the extension is its last 4 characters.
  require(file.extension == path.substr(path.size() < 4 ? 0 : path.size() - 4));
  require(file.prefix.size() + file.extension.size() <= path.size());
  require(path.substr(0, file.prefix.size()) == file.prefix);
  const std::string_view middle =
      path.substr(file.prefix.size(), path.size() - file.prefix.size() - file.extension.size());
  if (!file.prefix.empty()) {
    require(file.prefix.back() == '_');
    require(middle.size() >= 1 && middle.size() <= 3);
  }
  if (file.number) {
    require(allDigits(middle) && middle.size() <= 9);
    require(*file.number == std::stoi(std::string(middle)));
    // Without leading zeros the name is made again as it was.
    if (middle.size() == 1 || middle[0] != '0') {
      require(numberedPath(file, *file.number) == path);
    }
  } else {
    require(!allDigits(middle) || middle.size() > 9);
  }

  // A name without a number is not stepped. Any number makes a name without a fault; the
  // ones the split reads come back.
  if (!file.number) return 0;
  const int most = file.prefix.empty() ? 999'999'999 : 999;
  const long long stepped = step == -128 ? most : static_cast<long long>(*file.number) + step;
  if (stepped < 0) return 0;
  const std::string name = numberedPath(file, static_cast<int>(stepped));
  if (file.extension.size() < 4 || stepped > most) return 0;
  const NumberedFile again = splitNumberedFile(name);
  require(again.prefix == file.prefix);
  require(again.extension == file.extension);
  require(again.number == static_cast<int>(stepped));
  return 0;
}
