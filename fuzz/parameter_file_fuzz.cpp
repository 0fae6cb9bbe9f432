// Setup parameter files: any file content is read as eleven values or refused, never a
// fault; values the window would save (below 9E9 in size) are written and read back to the
// same stored line.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "experiment/parameter_file.h"

namespace {

namespace fs = std::filesystem;

void require(bool condition) {
  if (!condition) std::abort();
}

const fs::path& folder() {
  static const fs::path path = [] {
    fs::path p = fs::temp_directory_path() / ("quorvel_fuzz_" + std::to_string(getpid()));
    fs::create_directories(p);
    return p;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel::experiment;
  const fs::path input = folder() / "input.dat";
  {
    std::ofstream file(input, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const LoadResult loaded = loadParameterFile(input);
  if (!loaded.values) {
    require(loaded.error == LoadError::CannotRead);
    return 0;
  }
  for (double v : *loaded.values) {
    require(std::isfinite(v));
    if (!(std::fabs(v) < 9e9)) return 0;  // the window refuses to save these
  }
  const fs::path output = folder() / "Quorvel_fuzz.dat";
  require(saveParameterFile(output, *loaded.values) == SaveResult::Saved);
  const LoadResult again = loadParameterFile(output);
  require(again.values.has_value());
  require(parameterLine(*again.values) == parameterLine(*loaded.values));
  return 0;
}
