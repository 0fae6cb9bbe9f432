#include "platform/results.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "platform/tool_tips.h"

namespace quorvel::platform {
namespace {

namespace fs = std::filesystem;

Results sample() {
  return {"Итоги; проба",
          {{"Таблица",
            {"T, с", "имя", "n"},
            {{1e-7, std::string("=2+2"), 4.61400041526004},
             {-0.5, std::string("-1,5"), std::numeric_limits<double>::quiet_NaN()},
             {1.5e17, std::string("кавычка \" и\r\nстрока"), 0.0}}},
           {"Пустая", {"x"}, {}}}};
}

// The CSV a Russian spreadsheet opens as it is: BOM, ';', decimal comma, CR LF, quoting and
// no formula from a text.
TEST(ResultsTest, CsvForASpreadsheetInARussianLocale) {
  EXPECT_EQ(resultsCsv(sample()),
            "\xEF\xBB\xBF"
            "\"Итоги; проба\"\r\n"
            "\r\n"
            "Таблица\r\n"
            "T, с;имя;n\r\n"
            "1E-07;'=2+2;4,61400041526004\r\n"
            "-0,5;-1,5;\r\n"
            "1,5E+17;\"кавычка \"\" и\r\nстрока\";0\r\n"
            "\r\n"
            "Пустая\r\n"
            "x\r\n");
}

TEST(ResultsTest, JsonKeepsFullPrecisionAndTexts) {
  const nlohmann::json json = resultsJson(sample());
  EXPECT_EQ(json["title"], "Итоги; проба");
  ASSERT_EQ(json["tables"].size(), 2u);
  const auto& table = json["tables"][0];
  EXPECT_EQ(table["name"], "Таблица");
  EXPECT_EQ(table["columns"], nlohmann::json({"T, с", "имя", "n"}));
  EXPECT_EQ(table["rows"][0][0].get<double>(), 1e-7);
  EXPECT_EQ(table["rows"][0][1], "=2+2");
  EXPECT_EQ(table["rows"][0][2].get<double>(), 4.61400041526004);
  EXPECT_TRUE(table["rows"][1][2].is_null());
  EXPECT_EQ(table["rows"][2][1], "кавычка \" и\r\nстрока");
  EXPECT_TRUE(json["tables"][1]["rows"].empty());
}

TEST(ResultsTest, FormatByExtensionAndAtomicWrites) {
  EXPECT_EQ(resultFormatOf("a/b.csv"), ResultFormat::Csv);
  EXPECT_EQ(resultFormatOf("B.JSON"), ResultFormat::Json);
  EXPECT_EQ(resultFormatOf("b.txt"), std::nullopt);
  EXPECT_EQ(resultFormatOf("csv"), std::nullopt);

  const fs::path folder = fs::temp_directory_path() / "quorvel_results_test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path json = folder / "r.json";
  ASSERT_TRUE(writeResults(sample(), json, ResultFormat::Json));
  std::ifstream in(json);
  EXPECT_EQ(nlohmann::json::parse(in), resultsJson(sample()));
  // A folder in the file's place stays; nothing is left beside it.
  fs::create_directories(folder / "d.csv" / "inside");
  EXPECT_FALSE(writeResults(sample(), folder / "d.csv", ResultFormat::Csv));
  EXPECT_TRUE(fs::exists(folder / "d.csv" / "inside"));
  EXPECT_FALSE(writeResults(sample(), folder / "missing" / "r.csv", ResultFormat::Csv));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
  fs::remove_all(folder);
}

class MenuForm : public Form {
 public:
  explicit MenuForm(App& app)
      : Form(app, "MenuForm", "Меню", 100, 100),
        Text1(*this, "Text1"),
        Picture1(*this, "Picture1", 10, 10) {
    Picture1.addMenuItem("Первый", [this] { ++first; });
    Picture1.addMenuItem("Сбой", [] { throw std::runtime_error("сбой"); });
  }
  TextBox Text1;
  PictureBox Picture1;
  int first = 0;
};

// Context menu entries run through the form as any handler; tooltips come from a table
// that names controls of the form.
TEST(ResultsTest, MenuEntriesAndToolTips) {
  HeadlessHost host;
  App app(host);
  MenuForm form(app);
  EXPECT_TRUE(form.chooseMenuItem(form.Picture1, 0));
  EXPECT_EQ(form.first, 1);
  EXPECT_TRUE(form.chooseMenuItem(form.Picture1, 1));
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text, "Ошибка: сбой");
  EXPECT_FALSE(form.chooseMenuItem(form.Picture1, 2));
  EXPECT_FALSE(form.chooseMenuItem(form.Text1, 0));
  form.Picture1.setEnabled(false);
  EXPECT_FALSE(form.chooseMenuItem(form.Picture1, 0));
  EXPECT_EQ(form.first, 1);

  const ToolTipTable table = {{"Text1", "Длина, м"}, {"Text9", "нет такого"}};
  EXPECT_EQ(applyToolTips(form, table), std::vector<std::string>{"Text9"});
  EXPECT_EQ(form.Text1.toolTip(), "Длина, м");
  EXPECT_EQ(form.Picture1.toolTip(), "");
}

}  // namespace
}  // namespace quorvel::platform
