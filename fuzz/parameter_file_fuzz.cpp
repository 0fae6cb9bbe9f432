// Setup parameter files: any file content is read as eleven values or refused, never a
// fault; values the window would save (below 9E9 in size) are written and read back to the
// same stored line.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "experiment/parameter_file.h"
#include "fuzz_support.h"

namespace {

using quorvel::fuzz::require;

namespace fs = std::filesystem;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel::experiment;
  const fs::path input = quorvel::fuzz::scratchFolder() / "input.dat";
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
  const fs::path output = quorvel::fuzz::scratchFolder() / "Quorvel_fuzz.dat";
  require(saveParameterFile(output, *loaded.values) == SaveResult::Saved);
  const LoadResult again = loadParameterFile(output);
  require(again.values.has_value());
  require(parameterLine(*again.values) == parameterLine(*loaded.values));
  return 0;
}
