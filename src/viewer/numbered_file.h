#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::viewer {

// A photo file seen as one of a numbered series: prefix + number + extension, as in
// "shot_7.bmp" (prefix "shot_", number 7, extension ".bmp").
struct NumberedFile {
  std::string prefix;         // up to and including the "_" before the number; may be ""
  std::optional<int> number;  // nothing when the name holds no number
  std::string extension;      // the last 4 characters (".bmp", ".jpg", ...)
};

// Splits a path: the extension is its last 4 characters; the "_" that ends the prefix is
// the one just before a number of 1, 2 or 3 digits in front of the extension (the nearest
// such "_" to the extension wins). Without it the prefix is empty and the number is read
// from everything before the extension, so it is there only when that is all digits.
NumberedFile splitNumberedFile(std::string_view path);

// The path of number `number` in the same series (no leading zeros).
std::string numberedPath(const NumberedFile& file, int number);

}  // namespace quorvel::viewer
