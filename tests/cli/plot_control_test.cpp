#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "cli/cli_runner.h"
#include "platform/form.h"

namespace quorvel::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace platform;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Color kBandColor = rgb(0, 160, 0);
constexpr int kBandOpacity = 64;

// A window with one plot: a red line at y = 0,75 inside the band 0,5 … 1, a blue one at
// y = 0,25 with a gap at x = 5, on fixed ranges 0 … 10 and 0 … 1.
class PlotForm : public Form {
 public:
  explicit PlotForm(App& app)
      : Form(app, "PlotForm", "График", 500, 360), Picture1(*this, "Picture1", 480, 340) {
    Picture1.setGeometry(10, 10, 480, 340);
    Picture1.setTitle("Проба");
    Picture1.setXAxis({"Азимут", "град", 0.0, 10.0, 2});
    Picture1.setYAxis({"Смещение", "полос", 0.0, 1.0, 0.2});
    Picture1.addBand({"Полоса допуска", 0.5, 1.0, kBandColor, kBandOpacity});
    PlotSeries red{"Модель", {0, 10}, {0.75, 0.75}, rgb(255, 0, 0)};
    Picture1.addSeries(red);
    PlotSeries blue{"Теория",           {}, {}, rgb(0, 0, 255), SeriesStyle::LineAndMarkers,
                    MarkerShape::Square};
    const std::size_t index = Picture1.addSeries(blue);
    for (int x = 0; x <= 10; ++x) Picture1.appendPoint(index, x, x == 5 ? kNaN : 0.25);
  }
  Plot Picture1;
};

struct Cli {
  std::ostringstream out, err;
  CliRunner runner{out, err};
  Cli() {
    runner.app().windows().registerForm("PlotForm",
                                        [](App& app) { return std::make_unique<PlotForm>(app); });
  }
};

// The model as recorded: the dump holds axes, series (a NaN as null) and the band.
TEST(PlotControl, DumpHoldsTheModel) {
  Cli cli;
  ASSERT_EQ(cli.runner.runCommands({"open", "PlotForm"}), 0);
  const json dump = cli.runner.dump("PlotForm");
  const json& control = dump["forms"][0]["controls"][0];
  EXPECT_EQ(control["kind"], "Plot");
  EXPECT_EQ(control["width"], 480);
  const json& plot = control["plot"];
  EXPECT_EQ(plot["title"], "Проба");
  EXPECT_EQ(plot["xAxis"], json::parse(R"({"title": "Азимут", "unit": "град", "label":
      "Азимут, град", "min": 0.0, "max": 10.0, "tickStep": 2.0})"));
  EXPECT_EQ(plot["y2Axis"]["min"], nullptr);
  EXPECT_EQ(plot["bands"], json::parse(R"([{"label": "Полоса допуска", "low": 0.5,
      "high": 1.0, "color": "#00a000", "opacity": 64}])"));
  ASSERT_EQ(plot["series"].size(), 2u);
  const json& blue = plot["series"][1];
  EXPECT_EQ(blue["name"], "Теория");
  EXPECT_EQ(blue["style"], "lineAndMarkers");
  EXPECT_EQ(blue["marker"], "square");
  EXPECT_EQ(blue["color"], "#0000ff");
  EXPECT_EQ(blue["axis"], "left");
  EXPECT_EQ(blue["x"], json::parse("[0,1,2,3,4,5,6,7,8,9,10]"));
  EXPECT_EQ(blue["y"], json::parse("[0.25,0.25,0.25,0.25,0.25,null,0.25,0.25,0.25,0.25,0.25]"));
  EXPECT_EQ(plot["series"][0]["style"], "line");
}

bool near(QColor c, int r, int g, int b, int tolerance) {
  return std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance &&
         std::abs(c.blue() - b) <= tolerance;
}
bool reddish(QColor c) {
  return c.red() > 200 && c.green() < 90 && c.blue() < 90;
}
bool bluish(QColor c) {
  return c.blue() > 200 && c.red() < 90 && c.green() < 90;
}

// Saved headless: the PNG shows the band where its values put it and the gap where the NaN
// is; the SVG is well-formed XML holding the texts.
TEST(PlotControl, SavesPngAndSvg) {
  const fs::path folder = fs::temp_directory_path() / "quorvel-plot-test";
  fs::create_directories(folder);
  const fs::path png = folder / "plot.png";
  const fs::path svg = folder / "plot.svg";
  Cli cli;
  ASSERT_EQ(cli.runner.runCommands({"open", "PlotForm", "save", "PlotForm.Picture1", png.string(),
                                    "save", "PlotForm.Picture1", svg.string(), "screenshot",
                                    "PlotForm", (folder / "form.png").string()}),
            0)
      << cli.err.str();
  EXPECT_EQ(cli.runner.runCommands({"save", "PlotForm.Picture1", (folder / "p.bmp").string()}), 2);

  const QImage image(QString::fromStdString(png.string()));
  ASSERT_EQ(image.size(), QSize(480, 340));
  // The red line's row and its ends (x = 0 and x = 10) give the scale along x.
  int redRow = -1;
  for (int row = 0; row < image.height() && redRow < 0; ++row) {
    if (reddish(image.pixelColor(image.width() / 2, row))) redRow = row;
  }
  ASSERT_GE(redRow, 0);
  int left = image.width() / 2, right = image.width() / 2;
  while (left > 0 && reddish(image.pixelColor(left - 1, redRow))) --left;
  while (right + 1 < image.width() && reddish(image.pixelColor(right + 1, redRow))) ++right;
  const auto column = [&](double x) {
    return static_cast<int>(std::lround(left + x / 10 * (right - left)));
  };

  // Band colour: white under the band's colour at its opacity.
  const double a = kBandOpacity / 255.0;
  const Rgb c = resolve(kBandColor);
  const int br = static_cast<int>(std::lround(255 * (1 - a) + c.r * a));
  const int bg = static_cast<int>(std::lround(255 * (1 - a) + c.g * a));
  const int bb = static_cast<int>(std::lround(255 * (1 - a) + c.b * a));
  const int at = column(4.7);
  int top = -1, bottom = -1, banded = 0;
  for (int row = 0; row < image.height(); ++row) {
    if (!near(image.pixelColor(at, row), br, bg, bb, 3)) continue;
    if (top < 0) top = row;
    bottom = row;
    ++banded;
  }
  ASSERT_GE(top, 0) << "no band colour in column " << at;
  const int height = bottom - top + 1;
  EXPECT_GT(height, 100);
  EXPECT_GT(banded, 0.8 * height);
  // y = 0,75 halfway through the band 0,5 … 1; y = 0,25 as far below its lower edge.
  EXPECT_NEAR(redRow, (top + bottom) / 2.0, 2.5);
  int blueRow = -1;
  for (int row = bottom; row < image.height() && blueRow < 0; ++row) {
    if (bluish(image.pixelColor(column(2.7), row))) blueRow = row;
  }
  EXPECT_NEAR(blueRow, bottom + height / 2.0, 3.5);
  // The gap between x = 4 and x = 6: no blue in that column.
  for (int row = 0; row < image.height(); ++row) {
    EXPECT_FALSE(bluish(image.pixelColor(column(4.7), row))) << "row " << row;
  }

  std::ifstream file(svg, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  QXmlStreamReader xml(QByteArray::fromStdString(text));
  QString root;
  QStringList texts;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && root.isEmpty()) root = xml.name().toString();
    if (xml.isCharacters() && !xml.isWhitespace()) texts << xml.text().toString().trimmed();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(root, "svg");
  EXPECT_TRUE(texts.contains("Полоса допуска"));
  EXPECT_TRUE(texts.contains("Азимут, град"));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace quorvel::cli
