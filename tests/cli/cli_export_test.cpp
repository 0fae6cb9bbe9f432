#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_runner.h"
#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct CliResult {
  int status;
  std::string err;
  json dump;
};

CliResult run(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  CliRunner runner(out, err);
  runner.host().setLocalTime({2026, 12, 7, 10, 0, 0});
  CliResult result{runner.run(args), err.str(), {}};
  result.dump = runner.dump();
  common::shared().StopRequested = 0;
  return result;
}

const json& control(const json& dump, const std::string& form, const std::string& name) {
  for (const json& f : dump["forms"]) {
    if (f["name"] != form) continue;
    for (const json& c : f["controls"]) {
      if (c["name"] == name) return c;
    }
  }
  throw std::runtime_error("no control " + form + "." + name);
}

const json& formData(const json& dump, const std::string& form) {
  for (const json& f : dump["forms"]) {
    if (f["name"] == form) return f["data"];
  }
  throw std::runtime_error("no form " + form);
}

std::string read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Lines of cells of a CSV as a spreadsheet reads it: ';' between cells, CR LF between
// lines, quoted cells with doubled quotes.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> lines(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        lines.back().back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        lines.back().back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ';') {
      lines.back().emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      lines.emplace_back(1);
      ++i;
    } else {
      lines.back().back() += c;
    }
  }
  lines.pop_back();  // after the last line end
  return lines;
}

class ExportTest : public testing::Test {
 protected:
  ExportTest() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() / ("quorvel_cli_export_" + std::string(info->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  ~ExportTest() override { fs::remove_all(folder); }
  std::string path(const std::string& name) const { return (folder / name).string(); }
  fs::path folder;
};

// The beam-splitter run without the Doppler models: a few thousand steps.
const std::vector<std::string> kRun = {"click", "Form1.Command1", "set",   "Form4.Option1=1",
                                       "click", "Form4.Check1",   "click", "Form4.Command7"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// The CSV and the JSON of a run read back give the run's numbers to the last digit shown
// and the result fields as they are shown.
TEST_F(ExportTest, ExperimentResultsRoundTrip) {
  const CliResult r =
      run(with(kRun, {"export", "Form4", path("run.csv"), "export", "Form4", path("run.json")}));
  ASSERT_EQ(r.status, 0) << r.err;
  const json& data = formData(r.dump, "Form4");
  const std::string csv = read(folder / "run.csv");
  ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  const auto lines = parseCsv(csv.substr(3));
  EXPECT_EQ(lines[0][0],
            "Quorvel: вычислительный эксперимент, установка «1- Майкельсон», "
            "параметры «Test»");

  // Leg rows: ray, leg, T, S, V, direction, sent, received, n, periods, done.
  int legRows = 0;
  std::size_t i = 0;
  while (i < lines.size() && lines[i][0] != "Таблица путей лучей") ++i;
  ASSERT_LT(i + 1, lines.size());
  EXPECT_EQ(lines[i + 1].size(), 11u);
  for (i += 2; i < lines.size() && lines[i].size() == 11; ++i, ++legRows) {
    const auto& row = lines[i];
    const int ray = std::stoi(row[0]);
    const auto k = static_cast<std::size_t>(std::stoi(row[1]));
    const json& leg = data["legs"][k];
    EXPECT_EQ(row[10], leg["done"].get<bool>() ? "1" : "0") << k;
    if (!leg["done"].get<bool>()) {
      // A leg never travelled (the arrival rows 19 and 29) has no values.
      for (std::size_t cell = 2; cell < 10; ++cell) EXPECT_EQ(row[cell], "") << k << " " << cell;
      continue;
    }
    EXPECT_EQ(row[2], common::numberText(leg[ray == 1 ? "T1" : "T2"].get<double>())) << k;
    EXPECT_EQ(row[3], common::numberText(leg[ray == 1 ? "S1" : "S2"].get<double>())) << k;
    EXPECT_EQ(row[4], common::numberText(leg[ray == 1 ? "V1" : "V2"].get<double>())) << k;
    EXPECT_EQ(row[6], common::numberText(leg["v"].get<double>())) << k;
    EXPECT_EQ(row[7], common::numberText(leg["received"].get<double>())) << k;
  }
  EXPECT_EQ(legRows, 20);  // every leg of both rays in the beam-splitter setup

  // The result fields, text for text.
  int fieldRows = 0;
  for (const auto& row : lines) {
    if (row.size() == 3 && row[0].rfind("Text", 0) == 0) {
      EXPECT_EQ(row[2], control(r.dump, "Form4", row[0])["text"]) << row[0];
      ++fieldRows;
    }
  }
  EXPECT_EQ(fieldRows, 27);
  // The Michelson comparison is there, with the theory's T1 − T2 = 1 m · V²/Vs³.
  bool theory = false;
  for (const auto& row : lines) {
    if (!row.empty() && row[0] == "по теории Майкельсона") {
      theory = true;
      const double V = data["V"], c = data["c"];
      EXPECT_NEAR(*common::parseNumber(row[3]), V * V / (c * c * c), 1e-9 * V * V / (c * c * c));
    }
  }
  EXPECT_TRUE(theory);

  // The JSON holds the same numbers at full precision.
  std::ifstream in(folder / "run.json");
  const json exported = json::parse(in);
  ASSERT_EQ(exported["tables"].size(), 4u);
  const json& legs = exported["tables"][0];
  ASSERT_EQ(legs["rows"].size(), 20u);
  std::vector<int> untravelled;
  for (const json& row : legs["rows"]) {
    ASSERT_TRUE(row[0].is_number_integer() && row[1].is_number_integer() &&
                row[10].is_number_integer());
    const int ray = row[0];
    const json& leg = data["legs"][row[1].get<std::size_t>()];
    if (!leg["done"].get<bool>()) {
      untravelled.push_back(row[1]);
      EXPECT_TRUE(row[2].is_null() && row[3].is_null() && row[9].is_null());
      continue;
    }
    EXPECT_EQ(row[2].get<double>(), leg[ray == 1 ? "T1" : "T2"].get<double>());
    EXPECT_EQ(row[7].get<double>(), leg["received"].get<double>());
  }
  // The arrival rows among them, which held running totals before.
  EXPECT_NE(std::find(untravelled.begin(), untravelled.end(), 19), untravelled.end());
  EXPECT_NE(std::find(untravelled.begin(), untravelled.end(), 29), untravelled.end());
  const json& quantities = exported["tables"][2];
  EXPECT_EQ(quantities["rows"][1][0], "T1");
  EXPECT_EQ(quantities["rows"][1][1].get<double>(), data["T1"].get<double>());
  EXPECT_EQ(exported["tables"][3]["rows"].size(), 2u);
}

// The report window's menu saves what the export writes, or the picture.
TEST_F(ExportTest, ReportMenuSavesCsvJsonAndPicture) {
  const CliResult r =
      run(with({"click", "Form1.Command1", "set", "Form4.Option1=1", "click", "Form4.Check1", "set",
                "Form4.Check5=1", "click", "Form4.Command7"},
               {"export", "Form4",        path("direct.csv"), "file", path("menu.csv"),
                "menu",   "Form9.picBox", "Сохранить отчет…", "file", path("menu.png"),
                "menu",   "Form9.picBox", "Сохранить отчет…", "file", path("menu.txt"),
                "menu",   "Form9.picBox", "Сохранить отчет…", "file", path("no/such/menu.json"),
                "menu",   "Form9.picBox", "Сохранить отчет…"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read(folder / "menu.csv"), read(folder / "direct.csv"));
  QImage picture(QString::fromStdString(path("menu.png")));
  EXPECT_EQ(picture.width(), 1560);
  const auto& messages = r.dump["messages"];
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0]["text"],
            "Отчет сохраняется в файл .png, .csv или .json, а не " + path("menu.txt"));
  EXPECT_EQ(messages[1]["text"], "Ошибка записи в файл " + path("no/such/menu.json"));
}

TEST_F(ExportTest, ExportAndScreenshotErrors) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"click", "Form1.Command1", "export", "Form4", path("a.csv")},
       "quorvel-cli: Form4 has no results to export\n"},
      {{"export", "Form1", path("a.csv")}, "quorvel-cli: Form1 has no results to export\n"},
      {{"export", "Form4", path("a.csv")}, "quorvel-cli: form 'Form4' is not open\n"},
      {{"export", "Form1", path("a.txt")}, "quorvel-cli: export writes .csv or .json\n"},
      {{"export", "Form1"}, "quorvel-cli: missing a path after 'export'\n"},
      {{"screenshot", "Form1", path("a.jpg")}, "quorvel-cli: screenshot writes .png or .bmp\n"},
      {{"screenshot", "Form77", path("a.png")}, "quorvel-cli: unknown form 'Form77'\n"},
      {{"screenshot", "Form1", path("no/a.png")},
       "quorvel-cli: cannot write '" + path("no/a.png") + "'\n"},
      {{"menu", "Form9.picBox", "x"}, "quorvel-cli: form 'Form9' is not open\n"},
      {{"open", "Form9", "menu", "Form9.picBox", "Сохранить"},
       "quorvel-cli: picBox of Form9 has no menu entry 'Сохранить'\n"},
  };
  for (const auto& [args, message] : cases) {
    const CliResult r = run(args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_EQ(r.err, message);
  }
  // The report menu before any run.
  const CliResult early =
      run({"open", "Form9", "file", path("r.csv"), "menu", "Form9.picBox", "Сохранить отчет…"});
  EXPECT_EQ(early.status, 0);
  EXPECT_EQ(early.dump["messages"][0]["text"], "Сначала надо выполнить вычислительный эксперимент");
  EXPECT_FALSE(fs::exists(folder / "r.csv"));
}

QRgb at(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFF;
}

// A whole-window picture after commands shows the window as they left it: the scheme drawn
// by the run in the picture box, the text typed in the field.
TEST_F(ExportTest, ScreenshotAfterCommands) {
  const CliResult r = run(with(
      kRun, {"screenshot", "Form4", path("form4.png"), "set", "Form4.Text19=0,05", "screenshot",
             "Form4", path("form4b.png"), "save", "Form4.Picture1", path("picture.png")}));
  ASSERT_EQ(r.status, 0) << r.err;
  QImage first(QString::fromStdString(path("form4.png")));
  QImage second(QString::fromStdString(path("form4b.png")));
  QImage picture(QString::fromStdString(path("picture.png")));
  ASSERT_EQ(first.size(), QSize(1640, 900));
  // Picture1 stands at (5, 5): its pixels are the picture's own.
  int same = 0, drawn = 0;
  for (int y = 0; y < 720; y += 7) {
    for (int x = 0; x < 720; x += 7) {
      same += at(first, 5 + x, 5 + y) == at(picture, x, y);
      drawn += at(picture, x, y) != 0xFFFFFF;
    }
  }
  EXPECT_EQ(same, 103 * 103);
  EXPECT_GT(drawn, 10);
  // The scale field (Text19 at 735 + 120, 197) shows its new text; the picture is untouched.
  int changed = 0;
  for (int y = 200; y < 218; ++y) {
    for (int x = 858; x < 905; ++x) changed += at(first, x, y) != at(second, x, y);
  }
  EXPECT_GT(changed, 5);
  EXPECT_EQ(at(first, 300, 300), at(second, 300, 300));
}

TEST_F(ExportTest, DumpShowsToolTips) {
  const CliResult r = run({"click", "Form1.Command1"});
  EXPECT_EQ(control(r.dump, "Form4", "Text12")["toolTip"],
            "Скорость света в модели Vs0, км/с, больше 0; Test: 30, Real: 300 000");
  EXPECT_FALSE(control(r.dump, "Form4", "Command7").contains("toolTip"));
}

}  // namespace
}  // namespace quorvel::cli
