#include "experiment/form4.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/forms.h"
#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::experiment {
namespace {

namespace fs = std::filesystem;

class Form4Test : public testing::Test {
 protected:
  Form4Test() : app(host) {
    app::registerForms(app.windows());
    app.windows().show("Form1");
    app.windows().show("Form4");
  }
  ~Form4Test() override {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
  }
  Form4& form() { return *static_cast<Form4*>(app.windows().find("Form4")); }
  std::string lastMessage() const {
    return host.messages().empty() ? "" : host.messages().back().text;
  }

  platform::HeadlessHost host;
  platform::App app;
};

TEST_F(Form4Test, OpensWithPrismValuesAndInitialTicks) {
  Form4& f = form();
  EXPECT_EQ(f.caption(), "Quorvel1     form4    Вычислительный эксперимент Майкельсона-Морли ");
  EXPECT_TRUE(f.Option8.value());
  EXPECT_FALSE(f.Option1.value());
  EXPECT_TRUE(f.Option4.value());
  EXPECT_TRUE(f.Option2.value());
  // The prism handler ran at load: its angles replace the stored initial texts.
  EXPECT_EQ(f.Text4.text(), "121,7032392");
  EXPECT_EQ(f.Text5.text(), "58,2967608");
  EXPECT_EQ(f.Text6.text(), "90");
  EXPECT_EQ(f.Text1.text(), "-0,45");
  EXPECT_EQ(f.Text67.text(), "0,45");
  EXPECT_EQ(f.Text8.text(), "0,9");
  EXPECT_EQ(f.Text9.text(), "-0,2");
  EXPECT_EQ(f.Text3.text(), "0,6");
  EXPECT_EQ(f.Label31.caption(), "Y6, м");
  EXPECT_FALSE(f.Check8.enabled());
  EXPECT_TRUE(f.Check33.enabled());
  EXPECT_TRUE(f.Check16.ticked());

  const std::pair<const platform::CheckBox*, int> ticks[] = {
      {&f.Check2, 1},  {&f.Check28, 0}, {&f.Check29, 0}, {&f.Check8, 0},  {&f.Check1, 1},
      {&f.Check12, 0}, {&f.Check19, 1}, {&f.Check20, 0}, {&f.Check33, 0}, {&f.Check26, 0},
      {&f.Check4, 1},  {&f.Check21, 1}, {&f.Check22, 0}, {&f.Check13, 1}, {&f.Check5, 0},
      {&f.Check11, 1}, {&f.Check9, 1},  {&f.Check10, 1}, {&f.Check14, 1}, {&f.Check15, 1},
      {&f.Check7, 0},  {&f.Check16, 1}, {&f.Check6, 1},  {&f.Check18, 0}, {&f.Check27, 0},
      {&f.Check3, 0},  {&f.Check17, 0}, {&f.Check25, 0}, {&f.Check23, 1}, {&f.Check24, 0},
  };
  for (const auto& [box, value] : ticks) EXPECT_EQ(box->value(), value) << box->name();

  const std::pair<const platform::TextBox*, const char*> texts[] = {
      {&f.Text27, "0,8"},     {&f.Text28, "100"},    {&f.Text69, "2"},        {&f.Text30, "20"},
      {&f.Text18, "0,0065"},  {&f.Text60, "0,0065"}, {&f.Text12, "30"},       {&f.Text50, "3"},
      {&f.Text44, "90"},      {&f.Text29, "0,3"},    {&f.Text41, "90"},       {&f.Text11, "1,0003"},
      {&f.Text22, "1,5"},     {&f.Text49, "0,05"},   {&f.Text99, "1,000304"}, {&f.Text19, "0,1"},
      {&f.Text40, "1E-7"},    {&f.Text46, "1E3"},    {&f.Text10, "10"},       {&f.Text57, "10"},
      {&f.Text54, "2"},       {&f.Text20, "0,001"},  {&f.Text63, "0,001"},    {&f.Text21, "1"},
      {&f.Text39, "m3p3_80"}, {&f.Text17, "Text17"}, {&f.Text33, "0,01"},     {&f.Text34, "0,01"},
      {&f.Text37, "20"},      {&f.Text38, "20"},     {&f.Text51, "10"},       {&f.Text52, "10"},
      {&f.Text61, "95"},      {&f.Text62, "85"},     {&f.Text13, ""},
  };
  for (const auto& [box, text] : texts) EXPECT_EQ(box->text(), text) << box->name();
  EXPECT_EQ(f.Command7.caption(), "Начать эксперимент");
  EXPECT_EQ(f.Command1.caption(),
            "Моделирование сплошного эффекта Доплера с параметрами полученными при проведение "
            "эксперимента");
  EXPECT_EQ(f.Check18.caption(), "+ 2-й лазер с  L2, м");
  EXPECT_EQ(f.Label6.caption(), " длина волны L1, м");
}

TEST_F(Form4Test, BeamSplitterThenPrism) {
  Form4& f = form();
  f.click(f.Option1);
  EXPECT_EQ(f.Label31.caption(), "X6, м");
  EXPECT_TRUE(f.Check8.enabled());
  const std::pair<const platform::TextBox*, const char*> beamSplitter[] = {
      {&f.Text1, "-1"},  {&f.Text66, "0"},  {&f.Text67, "0"},   {&f.Text2, "1"},
      {&f.Text3, "0,5"}, {&f.Text4, "90"},  {&f.Text5, "0"},    {&f.Text6, "135"},
      {&f.Text7, "135"}, {&f.Text8, "0,5"}, {&f.Text9, "-0,3"},
  };
  for (const auto& [box, text] : beamSplitter) EXPECT_EQ(box->text(), text) << box->name();
  EXPECT_FALSE(f.Check33.enabled());
  EXPECT_FALSE(f.Check26.enabled());
  EXPECT_FALSE(f.Check16.enabled());
  EXPECT_FALSE(f.Check16.ticked());
  EXPECT_FALSE(f.Option6.enabled());
  EXPECT_TRUE(f.Option2.value());

  f.Check8.setValue(1);
  f.Check33.setEnabled(true);
  f.Check33.setValue(1);
  f.click(f.Option8);
  EXPECT_EQ(f.Text4.text(), "121,7032392");
  EXPECT_EQ(f.Text5.text(), "58,2967608");
  EXPECT_EQ(f.Text2.text(), "0");
  EXPECT_EQ(f.Text8.text(), "0,9");
  EXPECT_EQ(f.Label31.caption(), "Y6, м");
  EXPECT_FALSE(f.Check8.ticked());
  EXPECT_FALSE(f.Check8.enabled());
  EXPECT_FALSE(f.Check33.ticked());
  EXPECT_TRUE(f.Check33.enabled());
  EXPECT_TRUE(f.Option6.enabled());
  EXPECT_TRUE(f.Check16.enabled());
  EXPECT_FALSE(f.Check16.ticked());  // enabled again, not ticked again
}

TEST_F(Form4Test, PrismWithHalfAngleAndFourthMirror) {
  Form4& f = form();
  f.click(f.Check3);
  f.click(f.Check17);
  f.click(f.Option8);
  const std::pair<const platform::TextBox*, const char*> variant[] = {
      {&f.Text1, "1"},    {&f.Text66, "0,4"},       {&f.Text7, "45"},  {&f.Text3, "0,4"},
      {&f.Text4, "58,6"}, {&f.Text5, "58,2967608"}, {&f.Text8, "0,9"}, {&f.Text9, "-0,2"},
  };
  for (const auto& [box, text] : variant) EXPECT_EQ(box->text(), text) << box->name();
}

TEST_F(Form4Test, RealThenTestRestoresUnitFields) {
  Form4& f = form();
  f.click(f.Option7);
  const std::pair<const platform::TextBox*, const char*> real[] = {
      {&f.Text27, "0,2"}, {&f.Text28, "10"},     {&f.Text50, "300"},
      {&f.Text29, "30"},  {&f.Text10, "10000"},  {&f.Text18, "650"},
      {&f.Text60, "650"}, {&f.Text12, "300000"}, {&f.Text40, "1E-15"},
  };
  for (const auto& [box, text] : real) EXPECT_EQ(box->text(), text) << box->name();
  EXPECT_EQ(f.Label6.caption(), "длина волны L1, нм");
  EXPECT_EQ(f.Check18.caption(), "+ 2-й лазер с L2, нм");
  f.click(f.Option4);
  const std::pair<const platform::TextBox*, const char*> test[] = {
      {&f.Text27, "0,8"},    {&f.Text28, "100"}, {&f.Text50, "3"},
      {&f.Text29, "0,3"},    {&f.Text10, "10"},  {&f.Text18, "0,0065"},
      {&f.Text60, "0,0065"}, {&f.Text12, "30"},  {&f.Text40, "1E-7"},
  };
  for (const auto& [box, text] : test) EXPECT_EQ(box->text(), text) << box->name();
  EXPECT_EQ(f.Label6.caption(), "длина волны L1, м");
  EXPECT_EQ(f.Check18.caption(), "+ 2-й лазер с L2, м");
}

TEST_F(Form4Test, ActivationStopsDateTimerAndReadsScale) {
  auto* timer = static_cast<platform::Timer*>(app.windows().find("Form1")->find("Timer1"));
  timer->setTimerEnabled(true);
  app.windows().activate("Form1");
  EXPECT_EQ(common::shared().ML, 3e10);
  form().Text19.setText("0,25");
  app.windows().activate("Form4");
  EXPECT_FALSE(timer->timerEnabled());
  EXPECT_EQ(common::shared().ML, 0.25);
}

TEST_F(Form4Test, MainWindowButtonOpensTheWindowAndZeroesPoints) {
  app.windows().unload("Form4");
  auto& shared = common::shared();
  shared.X[40] = 3.0;
  auto* main = app.windows().find("Form1");
  auto* timer = static_cast<platform::Timer*>(main->find("Timer1"));
  main->click(*main->find("Command1"));
  ASSERT_NE(app.windows().find("Form4"), nullptr);
  EXPECT_FALSE(timer->timerEnabled());
  // The window draws its scheme when it opens, which fills the corners again.
  EXPECT_NE(shared.X[11], 0.0);
  EXPECT_EQ(shared.X[40], 0.0);
}

TEST_F(Form4Test, BadFieldOrZeroScaleGivesMessageAndNoDrawing) {
  Form4& f = form();
  const auto before = f.Picture1.picture().revision();
  f.typeText(f.Text27, "широкое");
  f.click(f.Command5);
  EXPECT_EQ(lastMessage(),
            "Задайте правильно данные: в поле «ширина зеркал, м» должно быть число, а не "
            "«широкое»");
  EXPECT_EQ(f.Picture1.picture().revision(), before);
  f.typeText(f.Text27, "0,8");
  f.typeText(f.Text19, "0");
  f.click(f.Command5);
  EXPECT_EQ(lastMessage(),
            "Масштаб ML не может быть равен 0: задайте его в поле «Масштаб ML, м/см»");
  EXPECT_EQ(f.Picture1.picture().revision(), before);
  EXPECT_EQ(host.messages().back().title, "Quorvel");
}

TEST_F(Form4Test, ReportCheckShowsAndUnloadsReportWindow) {
  Form4& f = form();
  f.click(f.Check5);
  platform::Form* report = app.windows().find("Form9");
  ASSERT_NE(report, nullptr);
  auto& picture = static_cast<platform::PictureBox*>(report->find("picBox"))->picture();
  EXPECT_DOUBLE_EQ(picture.scaleLeft(), 0);
  EXPECT_DOUBLE_EQ(picture.scaleTop(), 10.5);
  EXPECT_DOUBLE_EQ(picture.scaleWidth(), 26);
  EXPECT_DOUBLE_EQ(picture.scaleHeight(), -10.5);
  EXPECT_EQ(app.windows().active(), &f);
  f.click(f.Check5);
  EXPECT_EQ(app.windows().find("Form9"), nullptr);
}

class FolderTest : public Form4Test {
 protected:
  FolderTest() {
    // A folder of its own for every test: ctest runs them side by side.
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() / ("quorvel_form4_" + std::string(info->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    saved = fs::current_path();
    fs::current_path(folder);
    host.setProgramFolder(folder);
  }
  ~FolderTest() override {
    fs::current_path(saved);
    fs::remove_all(folder);
  }
  static std::string read(const fs::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  fs::path folder;
  fs::path saved;
};

TEST_F(FolderTest, SavePictureByNumber) {
  form().typeText(form().Text21, "7");
  form().click(form().Command6);
  EXPECT_TRUE(fs::exists(folder / "Quorvel_4_7.bmp"));
  EXPECT_TRUE(host.messages().empty());
  form().typeText(form().Text21, "../7");
  form().click(form().Command6);
  EXPECT_EQ(lastMessage(), "Ошибка записи в файл");
  fs::create_directory(folder / "Quorvel_4_dir.bmp");
  form().typeText(form().Text21, "dir");
  form().click(form().Command6);
  EXPECT_EQ(host.messages().size(), 2u);
}

TEST_F(FolderTest, BeamSplitterDefaultsSaveTheirElevenValues) {
  fs::create_directory(folder / "Dat");
  Form4& f = form();
  f.click(f.Option1);
  f.click(f.Command11);
  EXPECT_TRUE(host.messages().empty()) << lastMessage();
  EXPECT_EQ(read(folder / "Dat" / "Quorvel_m3p3_80.dat"),
            "-1000000000,0,0,1000000000,90000000000,0,135000000000,135000000000,500000000,"
            "500000000,2000000000\n");
  // More than nine decimals are cut, not rounded; binary noise is not cut.
  f.typeText(f.Text1, "0,1234567899");
  f.typeText(f.Text66, "4,35");
  f.typeText(f.Text39, "cut");
  f.click(f.Command11);
  EXPECT_EQ(read(folder / "Dat" / "Quorvel_cut.dat").substr(0, 22), "123456789,4350000000,0");
}

TEST_F(FolderTest, FirstSaveMakesTheDatFolder) {
  Form4& f = form();
  ASSERT_FALSE(fs::exists(folder / "Dat"));
  f.click(f.Command11);
  EXPECT_TRUE(host.messages().empty()) << lastMessage();
  EXPECT_TRUE(fs::is_regular_file(folder / "Dat" / "Quorvel_m3p3_80.dat"));
  // A program folder under a plain file: no Dat can be made there, and the message names
  // the file that could not be written.
  std::ofstream(folder / "plain") << "x";
  host.setProgramFolder(folder / "plain");
  f.click(f.Command11);
  EXPECT_EQ(lastMessage(),
            "Ошибка записи в файл " + (folder / "plain" / "Dat" / "Quorvel_m3p3_80.dat").string());
  EXPECT_EQ(host.messages().back().title, "Quorvel1");
}

TEST_F(FolderTest, SaveErrors) {
  Form4& f = form();
  fs::create_directory(folder / "Dat");
  f.typeText(f.Text4, "сорок");
  f.click(f.Command11);
  EXPECT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(lastMessage(), "Задайте правильно данные");
  EXPECT_EQ(host.messages().back().title, "Quorvel");
  EXPECT_TRUE(fs::is_empty(folder / "Dat"));
  // A folder in the file's place: the new file cannot replace it, the folder stays.
  f.typeText(f.Text4, "40");
  fs::create_directories(folder / "Dat" / "Quorvel_m3p3_80.dat" / "inside");
  f.click(f.Command11);
  EXPECT_EQ(lastMessage(), "Ошибка записи в файл \\Dat\\Quorvel_m3p3_80.dat");
  EXPECT_EQ(host.messages().back().title, "Quorvel1");
  EXPECT_TRUE(fs::exists(folder / "Dat" / "Quorvel_m3p3_80.dat" / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "Dat"), fs::directory_iterator()), 1);
}

TEST_F(FolderTest, RoundTripAndLoadIntoOtherSetup) {
  fs::create_directory(folder / "Dat");
  Form4& f = form();  // the prism setup: Text8 holds Y6 = 0,9
  f.typeText(f.Text69, "2,5");
  f.click(f.Command11);
  const auto saved = folder / "Dat" / "Quorvel_m3p3_80.dat";
  ASSERT_TRUE(fs::exists(saved));
  f.click(f.Option1);  // X6 = 0,5 now
  f.typeText(f.Text69, "1");
  host.queueFile(saved.string());
  f.click(f.Command12);
  EXPECT_TRUE(host.messages().empty()) << lastMessage();
  ASSERT_EQ(host.fileDialogs().size(), 1u);
  EXPECT_EQ(host.fileDialogs()[0].filter, "All Files (*.*)|*.*");
  EXPECT_EQ(host.fileDialogs()[0].flags, 4100);
  const std::pair<const platform::TextBox*, const char*> loaded[] = {
      {&f.Text1, "-0,45"},       {&f.Text66, "0"},         {&f.Text67, "0,45"}, {&f.Text2, "0"},
      {&f.Text4, "121,7032392"}, {&f.Text5, "58,2967608"}, {&f.Text6, "90"},    {&f.Text7, "135"},
      {&f.Text3, "0,6"},         {&f.Text8, "0,9"},        {&f.Text69, "2,5"},
  };
  for (const auto& [box, text] : loaded) EXPECT_EQ(box->text(), text) << box->name();
  EXPECT_EQ(f.Label31.caption(), "X6, м");  // Y6 went into the X6 field
}

TEST_F(FolderTest, LoadErrorsChangeNoField) {
  Form4& f = form();
  const auto fields = [&f] {
    std::vector<std::string> texts;
    for (auto* box : {&f.Text1, &f.Text66, &f.Text67, &f.Text2, &f.Text4, &f.Text5, &f.Text6,
                      &f.Text7, &f.Text3, &f.Text8, &f.Text69}) {
      texts.push_back(box->text());
    }
    return texts;
  };
  const auto before = fields();
  std::ofstream(folder / "short.dat") << "1,2,3,4,5,6,7,8,9,10\n";
  std::ofstream(folder / "words.dat") << "1 2 3 4 5 six 7 8 9 10 11\n";
  std::ofstream(folder / "empty.dat");
  std::ofstream(folder / "gap.dat") << "1,,2,3,4,5,6,7,8,9,10,11\n";
  struct Case {
    std::optional<std::string> file;  // nothing: the dialog is cancelled
    std::string message;
  };
  const Case cases[] = {
      {(folder / "missing.dat").string(),
       "Не могу найти файл " + (folder / "missing.dat").string()},
      {std::nullopt, "Не могу найти файл "},
      {folder.string(), "Не могу найти файл " + folder.string()},
      {(folder / "short.dat").string(),
       "Ошибка чтения данных из файла " + (folder / "short.dat").string()},
      {(folder / "words.dat").string(),
       "Ошибка чтения данных из файла " + (folder / "words.dat").string()},
      {(folder / "empty.dat").string(),
       "Ошибка чтения данных из файла " + (folder / "empty.dat").string()},
      {(folder / "gap.dat").string(),
       "Ошибка чтения данных из файла " + (folder / "gap.dat").string()},
  };
  for (const Case& c : cases) {
    if (c.file) host.queueFile(*c.file);
    f.click(f.Command12);
    EXPECT_EQ(lastMessage(), c.message);
    EXPECT_EQ(host.messages().back().title, "Quorvel1");
    EXPECT_EQ(fields(), before);
  }
}

}  // namespace
}  // namespace quorvel::experiment
