#include "platform/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/color.h"

namespace quorvel::platform {
namespace {

namespace fs = std::filesystem;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr double kPi = std::numbers::pi;

// 201 × 201 pixels over (−10, 10)-(10, −10): user 0 is pixel 100, user ±5 are pixels 50/150.
struct Board {
  Picture picture{201, 201};
  Board() { picture.scale(-10, 10, 10, -10); }
  Rgb at(int column, int row) const { return picture.pixel(column, row); }
};

int countColour(const Picture& p, int left, int top, int right, int bottom, Rgb colour) {
  int n = 0;
  for (int row = top; row < bottom; ++row) {
    for (int column = left; column < right; ++column) n += p.pixel(column, row) == colour;
  }
  return n;
}

// Curves are rasterised, so a point on one is checked within a pixel of it.
bool nearColour(const Picture& p, int column, int row, Rgb colour) {
  return countColour(p, column - 1, row - 1, column + 2, row + 2, colour) > 0;
}

// A folder of its own for each test, removed afterwards.
struct TempFolder {
  fs::path path;
  TempFolder() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    path = fs::temp_directory_path() / "quorvel_picture_tests" /
           (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(PictureMapping, UserAndPixelCoordinates) {
  Picture p(200, 100);
  EXPECT_EQ(p.scaleWidth(), 200);  // one unit per pixel until Scale
  EXPECT_EQ(p.toPixelY(7), 7);
  p.scale(-10, 10, 10, -10);
  EXPECT_EQ(p.scaleWidth(), 20);
  EXPECT_EQ(p.scaleHeight(), -20);
  EXPECT_EQ(p.toPixelX(-10), 0);
  EXPECT_EQ(p.toPixelX(10), 200);
  EXPECT_EQ(p.toPixelY(-10), 100);
  EXPECT_DOUBLE_EQ(p.toUserX(p.toPixelX(3.3)), 3.3);
  EXPECT_DOUBLE_EQ(p.toUserY(p.toPixelY(-4.1)), -4.1);
  p.scale(0, 0, 0, 5);  // an empty scale is ignored
  EXPECT_EQ(p.scaleWidth(), 20);
  p.resize(400, 50);  // the scale follows the new size
  EXPECT_EQ(p.toPixelX(0), 200);
  EXPECT_EQ(p.toPixelY(0), 25);
}

TEST(PictureDrawing, LinesLandOnTheirPixels) {
  Board b;
  b.picture.line(-10, 0, 10, 0, rgb(255, 0, 0));
  b.picture.line(0, 10, 0, -10);  // in the fore colour, black
  // The red row is whole but for the crossing pixel.
  EXPECT_EQ(countColour(b.picture, 0, 100, 201, 101, kRed), 200);
  EXPECT_EQ(b.at(100, 100), (Rgb{0, 0, 0}));
  EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, Rgb{}), 201);
  EXPECT_EQ(b.picture.currentX(), 0);
  EXPECT_EQ(b.picture.currentY(), -10);

  Board wide;
  wide.picture.setDrawWidth(3);
  wide.picture.line(-5, 0, 5, 0, rgb(0, 0, 255));
  for (int row : {99, 100, 101}) EXPECT_EQ(wide.at(100, row), kBlue) << row;
  for (int row : {97, 103}) EXPECT_EQ(wide.at(100, row), kWhite) << row;
}

// Many columns at once, row by row, leave exactly the pixels that one column at a time
// leaves: each in its own colour or all in one, cut at the image's edges alike.
TEST(PictureDrawing, ManyColumnsAtOnceAsOneByOne) {
  const std::vector<double> xs = {1, -5, 11, -10, 9.99, 0.05, std::nan(""), 1e300};
  const std::vector<Color> colours = {rgb(0, 200, 0), rgb(255, 0, 0), rgb(0, 0, 255), rgb(1, 2, 3),
                                      rgb(9, 9, 9),   rgb(0, 255, 0), rgb(7, 7, 7),   rgb(8, 8, 8)};
  const std::pair<double, double> spans[] = {{0, -2}, {50, -50}, {3, 3}, {-20, -30}};
  for (auto [y1, y2] : spans) {
    for (bool one : {false, true}) {
      Board many, single;
      many.picture.columnSpans(xs, one ? std::span<const Color>(colours).first(1) : colours, y1,
                               y2);
      for (std::size_t k = 0; k < xs.size(); ++k) {
        single.picture.columnSpan(xs[k], y1, y2, one ? colours[0] : colours[k]);
      }
      for (int column = 0; column < 201; ++column) {
        for (int row = 0; row < 201; ++row) {
          ASSERT_EQ(many.at(column, row), single.at(column, row))
              << column << "," << row << " span " << y1 << ".." << y2 << (one ? " one colour" : "");
        }
      }
    }
  }
}

TEST(PictureDrawing, ColumnsAndPixelsWrittenStraightIntoTheImage) {
  Board b;
  b.picture.setDrawWidth(5);
  const Rgb green{0, 200, 0};
  // A column from y = 0 down to y = −2: rows 100..120 of column 110, one pixel wide.
  b.picture.columnSpan(1, 0, -2, rgb(0, 200, 0));
  EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, green), 21);
  EXPECT_EQ(b.at(110, 100), green);
  EXPECT_EQ(b.at(110, 120), green);
  EXPECT_EQ(b.at(111, 110), kWhite);
  // Ends beyond the image are cut; a column outside it draws nothing.
  b.picture.columnSpan(-5, 50, -50, rgb(0, 200, 0));
  EXPECT_EQ(countColour(b.picture, 50, 0, 51, 201, green), 201);
  b.picture.columnSpan(11, 0, 1, rgb(0, 200, 0));
  b.picture.setPixel(-3, 4, rgb(255, 0, 0));
  EXPECT_EQ(b.at(70, 60), kRed);
  b.picture.setPixel(30, 4, rgb(255, 0, 0));
  EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, kRed), 1);
  EXPECT_EQ(b.picture.currentX(), 0);
  // Pictures as wide as a picture box can be.
  Picture wide(32500, 10);
  EXPECT_EQ(wide.width(), 32500);
  wide.resize(40000, 10);
  EXPECT_EQ(wide.width(), 32767);
}

TEST(PictureDrawing, BoxOutlineAndFill) {
  struct Case {
    int fillStyle;
    bool fillWithLineColor;
    Rgb inside;
  };
  for (const Case& c :
       {Case{1, false, kWhite}, Case{0, false, kGreen}, Case{1, true, kRed}, Case{0, true, kRed}}) {
    Board b;
    b.picture.setFillStyle(c.fillStyle);
    b.picture.setFillColor(rgb(0, 255, 0));
    b.picture.box(-5, 5, 5, -5, rgb(255, 0, 0), c.fillWithLineColor);
    const std::string what = "style " + std::to_string(c.fillStyle);
    EXPECT_EQ(b.at(100, 100), c.inside) << what;
    for (auto [column, row] : {std::pair{50, 100}, {150, 100}, {100, 50}, {100, 150}}) {
      EXPECT_EQ(b.at(column, row), kRed) << what << " edge " << column << "," << row;
    }
    for (auto [column, row] : {std::pair{49, 100}, {151, 100}, {100, 49}, {100, 151}}) {
      EXPECT_EQ(b.at(column, row), kWhite) << what << " outside " << column << "," << row;
    }
    EXPECT_EQ(b.picture.currentY(), -5);
  }
}

TEST(PictureDrawing, CircleOutlineAndFill) {
  Board b;
  b.picture.circle(0, 0, 5, rgb(0, 0, 255));  // radius 50.25 px → 50
  for (auto [column, row] : {std::pair{150, 100}, {50, 100}, {100, 50}, {100, 150}}) {
    EXPECT_EQ(b.at(column, row), kBlue) << column << "," << row;
  }
  EXPECT_EQ(b.at(100, 100), kWhite);
  EXPECT_EQ(b.at(153, 100), kWhite);
  b.picture.setFillStyle(0);
  b.picture.setFillColor(rgb(0, 255, 0));
  b.picture.circle(5, 5, 1);
  EXPECT_EQ(b.at(150, 50), kGreen);
  EXPECT_EQ(b.at(160, 50), (Rgb{0, 0, 0}));  // outline in the fore colour
  EXPECT_EQ(b.picture.currentX(), 5);
}

// A circle narrower than a pixel (the time graph's points are a fiftieth of one) shows as
// the pixel of its centre, whole or as an arc; from a radius of half a pixel on it is a ring.
TEST(PictureDrawing, CircleSmallerThanAPixelDrawsOnePixel) {
  struct Case {
    double x, y, r;
    std::optional<double> start, end;
    int column, row;  // the centre's pixel
  };
  // 10,05 pixels per unit: 0,002 is a fiftieth of a pixel, 0,049 just under half of one.
  const Case cases[] = {
      {0, 0, 0.002, {}, {}, 100, 100},   {0, 0, 0, {}, {}, 100, 100},
      {5, -5, 0.049, {}, {}, 150, 150},  {-9.97, 9.97, 0.02, {}, {}, 0, 0},
      {2.5, 1, 0.03, 0.5, 2.0, 125, 90}, {2.5, 1, -0.03, -0.5, -2.0, 125, 90},
  };
  for (const Case& c : cases) {
    Board b;
    b.picture.circle(c.x, c.y, c.r, rgb(255, 0, 0), c.start, c.end);
    EXPECT_EQ(b.at(c.column, c.row), kRed) << c.x << "," << c.y << " r " << c.r;
    EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, kRed), 1) << c.x << "," << c.y << " r " << c.r;
  }
  // Beside the picture nothing shows; a radius of a pixel is a ring around an empty centre.
  Board beside;
  beside.picture.circle(10.2, 0, 0.02, rgb(255, 0, 0));
  EXPECT_EQ(countColour(beside.picture, 0, 0, 201, 201, kRed), 0);
  Board ring;
  ring.picture.circle(0, 0, 0.3, rgb(255, 0, 0));
  EXPECT_GT(countColour(ring.picture, 95, 95, 106, 106, kRed), 1);
  EXPECT_EQ(ring.at(100, 100), kWhite);
}

TEST(PictureDrawing, ArcsAndRadiusLines) {
  struct Case {
    double start, end;
    std::vector<std::pair<int, int>> on, off;
  };
  const double r45 = 50 / std::numbers::sqrt2;
  const int d = static_cast<int>(std::lround(r45));
  const std::vector<Case> cases = {
      {0, kPi / 2, {{100 + d, 100 - d}}, {{100 - d, 100 + d}, {100 - d, 100 - d}, {100, 75}}},
      {kPi, 0.01, {{100, 150}, {100 - d, 100 + d}}, {{100, 50}, {100 + d, 100 - d}}},
      {-kPi / 2, kPi, {{100 - d, 100 - d}, {100, 75}}, {{75, 100}, {100, 150}}},
      {-kPi / 2, -kPi, {{100, 75}, {75, 100}}, {{125, 100}, {100, 125}}},
      {1, 1 + 2 * kPi, {{150, 100}, {50, 100}, {100, 150}}, {{100, 100}}},  // a whole turn
  };
  for (const Case& c : cases) {
    Board b;
    b.picture.circle(0, 0, 5, rgb(255, 0, 0), c.start, c.end);
    const std::string what = std::to_string(c.start) + ".." + std::to_string(c.end);
    for (auto [column, row] : c.on) EXPECT_TRUE(nearColour(b.picture, column, row, kRed)) << what;
    for (auto [column, row] : c.off) EXPECT_EQ(b.at(column, row), kWhite) << what;
  }
}

TEST(PictureDrawing, PointAndClipping) {
  Board b;
  b.picture.pset(0, 0, rgb(255, 0, 0));
  EXPECT_EQ(b.at(100, 100), kRed);
  EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, kRed), 1);
  EXPECT_EQ(b.picture.pixel(-1, 0), Rgb{});
  EXPECT_EQ(b.picture.pixel(0, 201), Rgb{});
}

TEST(PictureDrawing, WildCoordinatesNeitherCrashNorHang) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  Board b;
  for (int width : {1, std::numeric_limits<int>::max()}) {
    b.picture.setDrawWidth(width);
    for (double v : {kNan, kInf, -kInf, 1e300, -1e300, 1e9}) {
      b.picture.line(v, 0, 0, v);
      b.picture.box(-v, v, v, -v, {}, true);
      b.picture.circle(v, 0, 1);
      b.picture.circle(0, 0, v, {}, v, -v);
      b.picture.pset(v, v);
      b.picture.setCurrentX(v);
      b.picture.print("x");
      b.picture.scale(v, v, -v, -v);
    }
  }
  // A line far longer than the image keeps its direction.
  Picture far(201, 201);
  far.line(-1e12, -1e12, 1e12, 1e12, rgb(255, 0, 0));
  for (int i : {0, 57, 100, 200}) EXPECT_EQ(far.pixel(i, i), kRed) << i;
  // So does the rim of a circle far larger than the image, filled or not.
  for (double radius : {1e4, 1e5, 1e6}) {
    Picture huge(201, 201);
    huge.setFillStyle(0);
    huge.setFillColor(rgb(0, 255, 0));
    huge.circle(100 + radius, 100, radius, rgb(255, 0, 0));
    for (int row : {0, 100, 200}) EXPECT_TRUE(nearColour(huge, 100, row, kRed)) << radius;
    EXPECT_EQ(huge.pixel(97, 100), kWhite) << radius;
    EXPECT_EQ(huge.pixel(103, 100), kGreen) << radius;
  }
}

// Shapes reaching far beyond the picture are cut to it before they are drawn: what shows is
// the part inside, and what lies wholly outside or has no position draws nothing at all.
TEST(PictureDrawing, ExtremeCoordinatesAreCutToThePicture) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  const Rgb red = kRed;
  // A line from 1E30 to −1E30 is the one segment across the picture.
  {
    Board b;
    b.picture.line(-1e30, 0, 1e30, 0, rgb(255, 0, 0));
    EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, red), 201);
    EXPECT_EQ(countColour(b.picture, 0, 100, 201, 101, red), 201);
    // The diagonal through the centre: one pixel a column, within a pixel of the line.
    Board d;
    d.picture.line(1e30, 1e30, -1e30, -1e30, rgb(255, 0, 0));
    for (int i = 0; i <= 200; ++i) {
      EXPECT_LE(countColour(d.picture, i, 0, i + 1, 201, red), 1) << i;
      EXPECT_TRUE(nearColour(d.picture, i, 200 - i, red)) << i;
    }
    EXPECT_GE(countColour(d.picture, 0, 0, 201, 201, red), 200);
    // A steep line whose ends lie in far corners: x = y / 100, one pixel a row.
    Board s;
    s.picture.line(-1e28, -1e30, 1e28, 1e30, rgb(255, 0, 0));
    for (int row = 0; row <= 200; ++row) {
      EXPECT_EQ(countColour(s.picture, 99, row, 102, row + 1, red), 1) << row;
    }
    EXPECT_EQ(countColour(s.picture, 0, 0, 201, 201, red), 201);
  }
  // Nothing with a NaN coordinate is drawn, nor a point outside the picture; a line that
  // passes by it leaves it as it was.
  {
    Board b;
    const auto before = b.picture.revision();
    b.picture.line(kNan, 0, 5, 5, rgb(255, 0, 0));
    b.picture.line(0, 0, 5, kNan, rgb(255, 0, 0));
    b.picture.pset(kNan, 0, rgb(255, 0, 0));
    b.picture.pset(1e30, 0, rgb(255, 0, 0));
    b.picture.pset(0, -1e30, rgb(255, 0, 0));
    b.picture.pset(10.5, 0, rgb(255, 0, 0));
    b.picture.circle(kNan, 0, 1, rgb(255, 0, 0));
    b.picture.circle(0, 0, kNan, rgb(255, 0, 0));
    b.picture.box(kNan, 0, 1, 1, rgb(255, 0, 0), true);
    b.picture.line(-1e30, 1e30, 1e30, 1e30 + 1e15, rgb(255, 0, 0));
    EXPECT_EQ(b.picture.revision(), before);
    b.picture.line(20, -1e30, 20, 1e30, rgb(255, 0, 0));
    b.picture.line(-1e30, -10.1, 1e30, -10.1, rgb(255, 0, 0));
    EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, red), 0);
    b.picture.pset(9.99, 0, rgb(255, 0, 0));
    EXPECT_EQ(b.at(200, 100), red);
  }
  // A box with far corners fills the picture.
  {
    Board b;
    b.picture.box(-1e30, 1e30, 1e30, -1e30, rgb(255, 0, 0), true);
    EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, red), 201 * 201);
  }
  // The rim of a circle of any radius up to 10^12 pixels shows where it crosses the
  // picture, the fill on its inside; a filled circle around the whole picture fills it, and
  // the radius of an arc around it shows alone.
  for (double radius : {1e4, 1e8, 1e11}) {
    Picture huge(201, 201);
    huge.setFillStyle(0);
    huge.setFillColor(rgb(0, 255, 0));
    huge.circle(100 + radius, 100, radius, rgb(255, 0, 0));
    for (int row : {0, 100, 200}) EXPECT_TRUE(nearColour(huge, 100, row, kRed)) << radius;
    EXPECT_EQ(huge.pixel(97, 100), kWhite) << radius;
    EXPECT_EQ(huge.pixel(103, 100), kGreen) << radius;
    EXPECT_EQ(countColour(huge, 0, 0, 97, 201, kWhite), 97 * 201) << radius;

    Picture around(201, 201);
    around.setFillStyle(0);
    around.setFillColor(rgb(0, 255, 0));
    around.circle(100, 100 + radius, radius * 2, rgb(255, 0, 0));
    EXPECT_EQ(countColour(around, 0, 0, 201, 201, kGreen), 201 * 201) << radius;

    Picture arc(201, 201);
    arc.circle(100, 100, radius, rgb(255, 0, 0), -kPi / 2, kPi);
    EXPECT_EQ(countColour(arc, 0, 0, 201, 201, kRed), 101) << radius;
    EXPECT_EQ(countColour(arc, 100, 0, 101, 101, kRed), 101) << radius;
  }
  // Past 10^12 pixels a rim is left out rather than placed wrongly.
  Picture beyond(201, 201);
  beyond.circle(100 + 1e14, 100, 1e14, rgb(255, 0, 0));
  EXPECT_EQ(countColour(beyond, 0, 0, 201, 201, kRed), 0);
}

TEST(PictureText, PrintStaysInsideItsBox) {
  for (const char* text : {"Hello", "Весна", "T1(i+10)   0.000000000001", "Лето\r\nЗима"}) {
    Board b;
    b.picture.setForeColor(rgb(255, 0, 0));
    b.picture.setCurrentX(-5);
    b.picture.setCurrentY(5);
    b.picture.print(text);
    const int left = 50;
    const int top = 50;
    const int right = left + static_cast<int>(std::ceil(b.picture.textWidth(text) * 201 / 20));
    const int bottom = top + static_cast<int>(std::ceil(b.picture.textHeight(text) * 201 / 20));
    const int inside = countColour(b.picture, left, top, right, bottom, kRed);
    EXPECT_GT(inside, 10) << text;
    EXPECT_EQ(countColour(b.picture, 0, 0, 201, 201, kRed), inside) << text;
    EXPECT_EQ(b.picture.currentX(), -5);
    EXPECT_DOUBLE_EQ(b.picture.currentY(), 5 - b.picture.textHeight(text)) << text;
  }
}

TEST(PictureText, LinesOfAText) {
  Picture p(300, 100);
  p.scale(0, 10.5, 26, 0);
  const double line = p.textHeight("A");
  EXPECT_GT(line, 0);
  EXPECT_DOUBLE_EQ(p.textHeight("A\r\nB"), 2 * line);
  EXPECT_DOUBLE_EQ(p.textHeight("A\nB\n"), 3 * line);
  EXPECT_DOUBLE_EQ(p.textWidth("ab\r\nabcdef"), p.textWidth("abcdef"));
  EXPECT_GT(p.textWidth("abcdef"), p.textWidth("abc"));
  // The second line of a CR LF text is written below the first.
  p.setCurrentY(10.5);
  p.print("\r\nXXXX");
  const int firstLineEnd = static_cast<int>(p.toPixelY(10.5 - line));
  EXPECT_EQ(countColour(p, 0, 0, 300, firstLineEnd, Rgb{}), 0);
  EXPECT_GT(countColour(p, 0, firstLineEnd, 300, 100, Rgb{}), 10);
}

TEST(PictureState, ClearBackColourAndResize) {
  Picture p(40, 30);
  p.line(0, 0, 39, 29, rgb(255, 0, 0));
  p.setCurrentX(5);
  p.cls();
  EXPECT_EQ(countColour(p, 0, 0, 40, 30, kWhite), 40 * 30);
  EXPECT_EQ(p.currentX(), 0);
  p.setBackColor(kButtonFace);
  EXPECT_EQ(countColour(p, 0, 0, 40, 30, (Rgb{212, 208, 200})), 40 * 30);
  p.setBackColor(rgb(0, 0, 255));
  p.pset(3, 4, rgb(255, 0, 0));
  p.resize(60, 10);
  EXPECT_EQ(p.pixel(3, 4), kRed);
  EXPECT_EQ(p.pixel(55, 8), kBlue);
  p.resize(0, 20000);
  EXPECT_EQ(p.width(), 1);
  EXPECT_EQ(p.height(), 10000);
}

TEST(PictureFiles, SaveAndLoadRoundTrip) {
  const TempFolder temp;
  const fs::path& folder = temp.path;
  for (const char* name : {"a.bmp", "b.png", "c.PNG", "d"}) {
    Board b;
    b.picture.setFillStyle(0);
    b.picture.setFillColor(rgb(10, 200, 30));
    b.picture.circle(2, 3, 4, rgb(255, 0, 0));
    b.picture.print("Осень");
    const fs::path target = folder / name;
    writeBytes(target, "an older file");
    ASSERT_TRUE(b.picture.save(target.string())) << name;
    const bool png = std::string(name).find("png") != std::string::npos ||
                     std::string(name).find("PNG") != std::string::npos;
    EXPECT_EQ(readBytes(target).substr(0, 2), png ? "\x89P" : "BM") << name;
    Picture copy(201, 201);
    ASSERT_TRUE(copy.load(target.string())) << name;
    EXPECT_EQ(copy.loadedWidth(), 201);
    for (int row = 0; row < 201; ++row) {
      for (int column = 0; column < 201; ++column) {
        ASSERT_EQ(copy.pixel(column, row), b.at(column, row)) << name;
      }
    }
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
}

TEST(PictureFiles, FailedSaveLeavesFilesAlone) {
  const TempFolder temp;
  const fs::path& folder = temp.path;
  writeBytes(folder / "plain", "a regular file");
  fs::create_directories(folder / "taken" / "inner");
  Picture p(10, 10);
  for (const fs::path& target :
       {folder / "missing" / "x.bmp", folder / "plain" / "x.bmp", folder / "taken", fs::path()}) {
    EXPECT_FALSE(p.save(target.string())) << target;
  }
  EXPECT_EQ(readBytes(folder / "plain"), "a regular file");
  EXPECT_TRUE(fs::is_directory(folder / "taken" / "inner"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST(PictureFiles, LoadFormatsAndFailures) {
  const TempFolder temp;
  const fs::path& folder = temp.path;
  // A 1 × 1 GIF whose only pixel is red.
  writeBytes(folder / "red.gif", std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00"
                                             "\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02"
                                             "\x02\x44\x01\x00;",
                                             35));
  Picture small(12, 7);
  small.setBackColor(rgb(255, 0, 0));
  ASSERT_TRUE(small.save((folder / "red.bmp").string()));
  writeBytes(folder / "text.bmp", "not an image");
  writeBytes(folder / "empty.jpg", "");

  Picture p(30, 20);
  p.setBackColor(rgb(0, 0, 255));
  for (const char* bad : {"none.bmp", "text.bmp", "empty.jpg", ""}) {
    const auto before = p.revision();
    EXPECT_FALSE(p.load(bad[0] ? (folder / bad).string() : std::string())) << bad;
    EXPECT_EQ(p.revision(), before);
    EXPECT_EQ(countColour(p, 0, 0, 30, 20, kBlue), 600);
    EXPECT_EQ(p.loadedWidth(), 0);
  }
  ASSERT_TRUE(p.load((folder / "red.bmp").string()));
  EXPECT_EQ(countColour(p, 0, 0, 30, 20, kRed), 12 * 7);  // top left, the rest back colour
  EXPECT_EQ(p.pixel(11, 6), kRed);
  EXPECT_EQ(p.loadedHeight(), 7);
  ASSERT_TRUE(p.load((folder / "red.gif").string()));
  EXPECT_EQ(countColour(p, 0, 0, 30, 20, kRed), 1);
  EXPECT_EQ(p.loadedWidth(), 1);
}

// An image may be as wide and as high as the largest side; beyond it, and whatever size a
// damaged header declares, it is refused and the picture stays as it was.
TEST(PictureFiles, LoadRefusesImagesBeyondTheLargestSide) {
  const TempFolder temp;
  const fs::path& folder = temp.path;
  const int most = Picture::kMaxLoadedSide;
  for (const auto& [w, h] :
       {std::pair{most, 1}, std::pair{1, most}, std::pair{most + 1, 1}, std::pair{1, most + 1}}) {
    Picture image(w, h);
    image.setBackColor(rgb(255, 0, 0));
    const fs::path path =
        folder / ("image_" + std::to_string(w) + "x" + std::to_string(h) + ".bmp");
    ASSERT_TRUE(image.save(path.string()));
    Picture p(30, 20);
    p.setBackColor(rgb(0, 0, 255));
    const auto before = p.revision();
    const bool fits = w <= most && h <= most;
    EXPECT_EQ(p.load(path.string()), fits) << w << " x " << h;
    EXPECT_EQ(p.loadedWidth(), fits ? w : 0);
    EXPECT_EQ(p.loadedHeight(), fits ? h : 0);
    EXPECT_EQ(p.revision() == before, !fits);
    EXPECT_EQ(p.pixel(0, 0), fits ? kRed : kBlue);
  }
  // Headers of 24-bit BMPs that declare up to 2^30 pixels a side and bring no pixels.
  for (const std::uint32_t side :
       {std::uint32_t{1} << 14, std::uint32_t{1} << 20, std::uint32_t{1} << 30}) {
    std::string bmp = "BM";
    auto put = [&bmp](std::uint32_t value, int bytes) {
      for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(54, 4), put(0, 4), put(54, 4);  // file size, reserved, pixel offset
    put(40, 4), put(side, 4), put(side, 4), put(1, 2), put(24, 2);  // info header
    put(0, 4), put(0, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    writeBytes(folder / "huge.bmp", bmp);
    Picture p(30, 20);
    EXPECT_FALSE(p.load((folder / "huge.bmp").string())) << side;
    EXPECT_EQ(p.loadedWidth(), 0);
  }
}

TEST(PictureCopy, ScalesToTheTargetSize) {
  Picture source(100, 100);
  source.box(0, 0, 49, 49, rgb(255, 0, 0), true);
  Picture target(40, 60);
  target.copyFrom(source);
  for (int row = 0; row < 60; ++row) {
    for (int column = 0; column < 40; ++column) {
      ASSERT_EQ(target.pixel(column, row), column < 20 && row < 30 ? kRed : kWhite)
          << column << "," << row;
    }
  }
}

TEST(PictureRevision, GrowsOnEveryChangeOfTheImage) {
  const TempFolder temp;
  const fs::path& folder = temp.path;
  Picture other(5, 5);
  ASSERT_TRUE(other.save((folder / "o.bmp").string()));
  const std::vector<std::pair<const char*, std::function<void(Picture&)>>> changes = {
      {"line", [](Picture& p) { p.line(0, 0, 3, 3); }},
      {"box", [](Picture& p) { p.box(0, 0, 3, 3); }},
      {"circle", [](Picture& p) { p.circle(5, 5, 2); }},
      {"pset", [](Picture& p) { p.pset(1, 1); }},
      {"print", [](Picture& p) { p.print("a"); }},
      {"cls", [](Picture& p) { p.cls(); }},
      {"back colour", [](Picture& p) { p.setBackColor(rgb(1, 2, 3)); }},
      {"resize", [](Picture& p) { p.resize(p.width() + 1, 10); }},
      {"load", [&](Picture& p) { p.load((folder / "o.bmp").string()); }},
      {"copy", [&](Picture& p) { p.copyFrom(other); }},
  };
  Picture p(10, 10);
  for (const auto& [name, change] : changes) {
    const auto before = p.revision();
    change(p);
    EXPECT_GT(p.revision(), before) << name;
  }
  const auto before = p.revision();
  p.setForeColor(rgb(9, 9, 9));
  p.scale(0, 1, 1, 0);
  p.setCurrentX(3);
  EXPECT_EQ(p.revision(), before);
}

TEST(Colour, ResolvesPlainAndSystemColours) {
  const std::vector<std::pair<Color, Rgb>> cases = {
      {rgb(1, 2, 3), {1, 2, 3}},         {0x00FF8040u, {0x40, 0x80, 0xFF}},
      {kActiveTitleBar, {10, 36, 106}},  {kWindowText, {0, 0, 0}},
      {kHighlightText, {255, 255, 255}}, {kButtonFace, {212, 208, 200}},
      {0x80000005u, {255, 255, 255}},    {0x800000FFu, {0, 0, 0}},
  };
  for (const auto& [colour, expected] : cases) EXPECT_EQ(resolve(colour), expected) << colour;
}

}  // namespace
}  // namespace quorvel::platform
