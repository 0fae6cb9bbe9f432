#include "viewer/numbered_file.h"

#include <gtest/gtest.h>

namespace quorvel::viewer {
namespace {

// The split of a path into prefix, number and extension, and the neighbour's path.
TEST(NumberedFile, SplitAndNeighbours) {
  const struct {
    const char* path;
    const char* prefix;
    std::optional<int> number;
    const char* extension;
    const char* next;  // the path of number + 1 ("" when there is no number)
  } cases[] = {
      {"/data/shot_7.bmp", "/data/shot_", 7, ".bmp", "/data/shot_8.bmp"},
      {"/data/shot_42.jpg", "/data/shot_", 42, ".jpg", "/data/shot_43.jpg"},
      {"/data/shot_999.gif", "/data/shot_", 999, ".gif", "/data/shot_1000.gif"},
      {"/data/shot_010.jpg", "/data/shot_", 10, ".jpg", "/data/shot_11.jpg"},
      {"/data/a_b_3.png", "/data/a_b_", 3, ".png", "/data/a_b_4.png"},
      {"/фото/снимок_5.bmp", "/фото/снимок_", 5, ".bmp", "/фото/снимок_6.bmp"},
      // The nearest "_" before the extension ends the prefix, whatever follows it.
      {"/data/shot_7a.bmp", "/data/shot_", std::nullopt, ".bmp", ""},
      {"/data/shot_.bmp", "", std::nullopt, ".bmp", ""},
      // A number of four digits is not looked for.
      {"/data/shot_1234.bmp", "", std::nullopt, ".bmp", ""},
      // Without "_" the whole name before the extension must be the number.
      {"/data/photo.bmp", "", std::nullopt, ".bmp", ""},
      {"123.bmp", "", 123, ".bmp", "124.bmp"},
      {"bmp", "", std::nullopt, "bmp", ""},
      {"", "", std::nullopt, "", ""},
  };
  for (const auto& c : cases) {
    const NumberedFile file = splitNumberedFile(c.path);
    EXPECT_EQ(file.prefix, c.prefix) << c.path;
    EXPECT_EQ(file.number, c.number) << c.path;
    EXPECT_EQ(file.extension, c.extension) << c.path;
    if (file.number) {
      EXPECT_EQ(numberedPath(file, *file.number + 1), c.next) << c.path;
    }
  }
}

}  // namespace
}  // namespace quorvel::viewer
