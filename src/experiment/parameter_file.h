#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvel::experiment {

// A setup parameter file: one line of eleven whole numbers, each a field's value times
// 10^9 truncated toward zero (X1, Y1, X2, Y2, Alfa1..Alfa4, Y4, X6 or Y6, beam diameter).
inline constexpr int kParameterCount = 11;
using ParameterValues = std::array<double, kParameterCount>;

// The stored whole number of a value: v·10^9 truncated toward zero. The product is first
// taken to 15 significant digits, so that 4,35 (4349999999,9999995 in binary) is stored as
// 4350000000 while 0,1234567899 is stored as 123456789.
long long scaledParameter(double value);

// The line written for the values ("-1000000000,0,...,2000000000").
std::string parameterLine(const ParameterValues& values);

enum class SaveResult { Saved, CannotOpen, WriteFailed, NameTooLong };

// Writes the line to `path`, replacing an existing file atomically: the line goes to a new
// file beside it, which is then renamed over it, so a failed save leaves the old file whole,
// and what an earlier save killed half way left beside it is removed. A file name longer
// than the folder's file system takes is NameTooLong. The folder must exist; it is not
// created.
SaveResult saveParameterFile(const std::filesystem::path& path, const ParameterValues& values);

// The message for a setup name (`Text39`) whose file name `path` is too long: its length and
// the file system's limit, in bytes, for the file name and for the name in the field.
std::string nameTooLongMessage(const std::string& name, const std::filesystem::path& path);

enum class LoadError { CannotOpen, CannotRead };

struct LoadResult {
  std::optional<ParameterValues> values;  // divided by 10^9 again
  LoadError error = LoadError::CannotOpen;
};

// Reads eleven numbers separated by commas, blanks or line ends. Anything that is not a
// number, or fewer than eleven values, is CannotRead; nothing is returned then.
LoadResult loadParameterFile(const std::filesystem::path& path);

}  // namespace quorvel::experiment
