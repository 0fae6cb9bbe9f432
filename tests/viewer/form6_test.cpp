#include "viewer/form6.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "app/form1.h"
#include "app/forms.h"
#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "video_test_support.h"

namespace quorvel::viewer {
namespace {

using platform::MouseButton;
using testing_support::shownNumber;
using testing_support::TempFolder;
using testing_support::writeVideo;

class Form6Test : public testing::Test {
 protected:
  Form6Test() : app(host) {
    app::registerForms(app.windows());
    host.setProgramFolder(folder.path());
    app.windows().show("Form6");
  }
  ~Form6Test() override {
    for (auto* open : app.windows().openForms()) app.windows().unload(open->name());
  }
  Form6& form() { return *static_cast<Form6*>(app.windows().find("Form6")); }
  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& m : host.messages()) {
      EXPECT_EQ(m.title, "Quorvel") << m.text;
      texts.push_back(m.text);
    }
    return texts;
  }
  // A photo of a plain colour.
  std::string photo(const std::string& name, platform::Color color, int w = 200, int h = 150) {
    platform::Picture picture(w, h);
    picture.setBackColor(color);
    const std::string path = folder.file(name);
    EXPECT_TRUE(picture.save(path)) << path;
    return path;
  }
  platform::Rgb shownColor() { return form().Picture2.picture().pixel(5, 5); }
  void openPhoto(const std::string& path) {
    host.queueFile(path);
    form().click(form().Command1);
  }
  void openVideo(const std::string& path) {
    host.queueFile(path);
    form().click(form().Command7);
  }
  int shown() { return shownNumber(form().Picture2.picture()); }
  std::string text(const platform::TextBox& box) { return box.text(); }

  TempFolder folder{"form6"};
  platform::HeadlessHost host;
  platform::App app;
};

// Every control with its caption or initial text, the caption of the window, the timer off.
TEST_F(Form6Test, ControlsCaptionsAndInitialTexts) {
  Form6& f = form();
  EXPECT_EQ(f.caption(), "Quorvel1  Form6  Просмотр фото и видео файлов");
  const std::pair<const platform::CommandButton*, const char*> buttons[] = {
      {&f.Command1, "Открыть фотофайл (bmp, jpg)"},
      {&f.Command2, "Следующий"},
      {&f.Command3, "Предыдущий"},
      {&f.Command4, "Скопировать в окно №"},
      {&f.Command10, "Задать размер картинки"},
      {&f.Command6, "Рассчитать ширину полос для выбранного участка из"},
      {&f.Command5, "Закрыть форму"},
      {&f.Command7, "Открыть видеофайл avi"},
      {&f.Command8, "Начать просмотр с кадра №"},
      {&f.Command11, "Остановить"},
      {&f.Command12, "Продолжить"},
      {&f.Command9, "Сместить на 1 кадр"},
      {&f.Command14, "Закрыть видеофайл"},
      {&f.Command13, "Сделать раскадровку через"},
  };
  for (const auto& [button, caption] : buttons) EXPECT_EQ(button->caption(), caption);
  const std::pair<const platform::TextBox*, const char*> texts[] = {
      {&f.Text13, "1"},       {&f.Text11, "640"}, {&f.Text12, "480"}, {&f.Text1, ""},
      {&f.Text2, ""},         {&f.Text7, ""},     {&f.Text8, ""},     {&f.Text9, ""},
      {&f.Text3, "2,2"},      {&f.Text6, "10"},   {&f.Text5, ""},     {&f.Text4, "0"},
      {&f.Text10, "10"},      {&f.Text14, ""},    {&f.Text15, "20"},  {&f.Text17, "0"},
      {&f.Text16, "m5p10_1"},
  };
  for (const auto& [box, initial] : texts) EXPECT_EQ(box->text(), initial) << box->name();
  const std::pair<const char*, const char*> labels[] = {
      {"Label_Text11", "wPic"},       {"Label_Text12", "hPic"},
      {"Label_Text1", "X1"},          {"Label_Text2", "Y1"},
      {"Label_Text7", "X2"},          {"Label_Text8", "Y2"},
      {"Label_Text9", "L, пиксель"},  {"Label_Text3", "ML, мкм/пиксель"},
      {"Label_Text5", " полос ="},    {"Label_Text5_unit", " мкм"},
      {"Label6", "Nmax= xxx кадров"}, {"Label_Text10", "с интервалом"},
      {"Label_Text10_unit", "мс"},    {"Label_Text14", "текущий кадр N="},
      {"Label_Text17", "кадров с №"},
  };
  for (const auto& [name, caption] : labels) {
    auto* label = dynamic_cast<platform::Label*>(f.find(name));
    ASSERT_NE(label, nullptr) << name;
    EXPECT_EQ(label->caption(), caption) << name;
  }
  EXPECT_EQ(f.Option1.caption(), "Вперед");
  EXPECT_EQ(f.Option2.caption(), "Назад");
  EXPECT_EQ(f.Option3.caption(), "на экран");
  EXPECT_EQ(f.Option4.caption(), "в папку");
  EXPECT_EQ(f.Check1.caption(), "+ создать эту папку");
  EXPECT_EQ(f.Option1.container(), "Frame1");
  EXPECT_EQ(f.Option4.container(), "Frame2");
  EXPECT_EQ(f.Picture2.container(), "Picture4");
  EXPECT_FALSE(f.Timer1.timerEnabled());
  EXPECT_EQ(f.Picture2.picture().width(), 640);
  EXPECT_EQ(f.Picture2.picture().height(), 480);
  for (int k = 1; k <= 8; ++k)
    EXPECT_EQ(f.smallWindow(k).name(), "Picture1(" + std::to_string(k) + ")");
  EXPECT_EQ(f.find("Picture1(9)"), nullptr);
}

// The main window's button opens the viewer and stops the date timer.
TEST(Form6Opening, MainWindowOpensTheViewer) {
  platform::HeadlessHost host;
  platform::App app(host);
  app::registerForms(app.windows());
  app.windows().show("Form1");
  auto& main = *static_cast<app::Form1*>(app.windows().find("Form1"));
  main.click(main.Command18);
  EXPECT_FALSE(main.Timer1.timerEnabled());
  EXPECT_NE(app.windows().find("Form6"), nullptr);
  EXPECT_TRUE(host.messages().empty());
  for (auto* open : app.windows().openForms()) app.windows().unload(open->name());
}

// A photo and its numbered neighbours: the dialog, the caption, stepping on and back, a
// missing neighbour, and files that are no photos.
TEST_F(Form6Test, PhotosAndNumberedNeighbours) {
  const std::string seven = photo("shot_7.bmp", platform::rgb(200, 0, 0), 800, 600);
  photo("shot_8.bmp", platform::rgb(0, 200, 0));
  openPhoto(seven);
  ASSERT_EQ(host.fileDialogs().size(), 1u);
  EXPECT_EQ(host.fileDialogs()[0].filter,
            "All Files (*.*)|*.*|BMP Files (*.bmp)|*.bmp|GIF Files (*.gif)|*.gif|"
            "ICO Files (*.ico)|*.ico|JPG Files (*.jpg)|*.jpg|");
  EXPECT_EQ(host.fileDialogs()[0].flags, 4100);
  EXPECT_EQ(host.fileDialogs()[0].fileName, "");
  EXPECT_EQ(form().caption(), "Quorvel1  Form6  файл   " + seven);
  EXPECT_EQ(shownColor(), (platform::Rgb{200, 0, 0}));
  // The whole photo is there to scroll over; the guide lines stand at 160, 320, 480, 639.
  EXPECT_EQ(form().Picture2.picture().width(), 800);
  EXPECT_EQ(form().HScroll1.max(), 800 - 644);
  for (int x : {160, 320, 480, 639}) {
    EXPECT_EQ(form().Picture2.picture().pixel(x, 100), (platform::Rgb{0, 0, 250})) << x;
  }
  form().scrollTo(form().HScroll1, 100);
  EXPECT_EQ(form().Picture2.geometry().left, -100);
  auto data = form().data();
  EXPECT_EQ(data["prefix"], folder.file("shot_"));
  EXPECT_EQ(data["number"], 7);
  EXPECT_EQ(data["extension"], ".bmp");

  form().click(form().Command2);
  EXPECT_EQ(shownColor(), (platform::Rgb{0, 200, 0}));
  EXPECT_EQ(form().caption(), "Quorvel1  Form6  файл   " + folder.file("shot_8.bmp"));
  form().click(form().Command3);
  EXPECT_EQ(shownColor(), (platform::Rgb{200, 0, 0}));
  EXPECT_TRUE(host.messages().empty());

  // shot_6 is missing: the message names it, the number moves on, the photo stays.
  form().click(form().Command3);
  EXPECT_EQ(messages(),
            std::vector<std::string>{"Не могу открыть файл " + folder.file("shot_6.bmp")});
  EXPECT_EQ(form().data()["number"], 6);
  EXPECT_EQ(shownColor(), (platform::Rgb{200, 0, 0}));
  form().click(form().Command2);
  EXPECT_EQ(form().caption(), "Quorvel1  Form6  файл   " + seven);

  // Leading zeros are not kept; PNG opens as well.
  platform::Picture zero(50, 40);
  zero.setBackColor(platform::rgb(0, 0, 90));
  ASSERT_TRUE(zero.save(folder.file("shot_010.png")));
  photo("shot_11.png.tmp", platform::rgb(90, 90, 0));
  std::filesystem::rename(folder.file("shot_11.png.tmp"), folder.file("shot_11.png"));
  openPhoto(folder.file("shot_010.png"));
  EXPECT_EQ(shownColor(), (platform::Rgb{0, 0, 90}));
  form().click(form().Command2);
  EXPECT_EQ(shownColor(), (platform::Rgb{90, 90, 0}));
  EXPECT_EQ(form().caption(), "Quorvel1  Form6  файл   " + folder.file("shot_11.png"));
}

TEST_F(Form6Test, PhotoErrorsLeaveTheWindowAsItWas) {
  const std::string seven = photo("shot_7.bmp", platform::rgb(200, 0, 0));
  openPhoto(seven);
  std::ofstream(folder.file("notes_3.jpg")) << "not an image";
  // Cancelled, not an image, not there.
  form().click(form().Command1);
  openPhoto(folder.file("notes_3.jpg"));
  openPhoto(folder.file("absent_1.bmp"));
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Не могу открыть файл",
                                      "Не могу открыть файл " + folder.file("notes_3.jpg"),
                                      "Не могу открыть файл " + folder.file("absent_1.bmp")}));
  EXPECT_EQ(form().caption(), "Quorvel1  Form6  файл   " + seven);
  EXPECT_EQ(form().data()["number"], 7);
  EXPECT_EQ(shownColor(), (platform::Rgb{200, 0, 0}));

  // A photo without a number is shown; stepping from it has no neighbour to load.
  const std::string plain = photo("plain.bmp", platform::rgb(0, 0, 200));
  openPhoto(plain);
  EXPECT_EQ(shownColor(), (platform::Rgb{0, 0, 200}));
  EXPECT_EQ(form().data()["number"], nullptr);
  form().click(form().Command2);
  EXPECT_EQ(messages().back(), "Не могу открыть файл " + plain);
  EXPECT_EQ(shownColor(), (platform::Rgb{0, 0, 200}));

  // A photo wider than the largest picture is a file that does not open, opened or stepped to.
  platform::Picture wide(Form6::kMaxPictureSide + 1, 2);
  ASSERT_TRUE(wide.save(folder.file("wide_1.bmp")));
  openPhoto(folder.file("wide_1.bmp"));
  EXPECT_EQ(messages().back(), "Не могу открыть файл " + folder.file("wide_1.bmp"));
  openPhoto(photo("wide_0.bmp", platform::rgb(0, 90, 0)));
  form().click(form().Command2);
  EXPECT_EQ(messages().back(), "Не могу открыть файл " + folder.file("wide_1.bmp"));
  EXPECT_EQ(shownColor(), (platform::Rgb{0, 90, 0}));
  EXPECT_EQ(form().caption(), "Quorvel1  Form6  файл   " + folder.file("wide_0.bmp"));
}

// The copy into the small windows: Text13 + 1 is the window; a number with no window
// behind it copies nothing (and says so, see the messages' table).
TEST_F(Form6Test, CopyIntoSmallWindows) {
  openPhoto(photo("shot_1.bmp", platform::rgb(0, 150, 0), 640, 480));
  const platform::Rgb white{255, 255, 255};
  const platform::Rgb green{0, 150, 0};
  form().typeText(form().Text13, "7");
  form().click(form().Command4);
  EXPECT_EQ(form().smallWindow(8).picture().pixel(5, 5), green);
  // The guide lines on the copy stand where they stand on the image: a quarter across.
  EXPECT_EQ(form().smallWindow(8).picture().pixel(39, 50), (platform::Rgb{0, 0, 250}));
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(form().smallWindow(k).picture().pixel(5, 5), white) << k;
  form().typeText(form().Text13, "8");
  form().click(form().Command4);
  form().typeText(form().Text13, "-1");
  form().click(form().Command4);
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(form().smallWindow(k).picture().pixel(5, 5), white) << k;
  EXPECT_EQ(messages().size(), 2u);
  form().typeText(form().Text13, "0,4");
  form().click(form().Command4);
  EXPECT_EQ(form().smallWindow(1).picture().pixel(5, 5), green);
  EXPECT_EQ(messages().size(), 2u);
}

// Two points and the fringe width: (100, 100) and (400, 500) with ML 2,2 and 10 fringes.
TEST_F(Form6Test, FringeWidthFromTwoPoints) {
  form().mouseDown(form().Picture2, MouseButton::Left, 100, 100);
  form().click(form().Command6);
  EXPECT_EQ(messages(), std::vector<std::string>{"Задайте две точки на рисунке"});
  form().mouseDown(form().Picture2, MouseButton::Right, 400, 500);
  EXPECT_EQ(text(form().Text1), "100");
  EXPECT_EQ(text(form().Text2), "100");
  EXPECT_EQ(text(form().Text7), "400");
  EXPECT_EQ(text(form().Text8), "500");
  // The blue ring of radius 5,2 around the left point.
  EXPECT_EQ(form().Picture2.picture().pixel(105, 100), (platform::Rgb{0, 0, 250}));
  form().click(form().Command6);
  EXPECT_EQ(text(form().Text9), "500");
  EXPECT_EQ(text(form().Text5), "110");
  EXPECT_EQ(common::shared().ML, 2.2);
  EXPECT_EQ(form().data()["point2"]["y"], 500.0);

  // Bad fields change nothing (their messages are in the messages' table).
  for (auto [fringes, scale] :
       {std::pair{"0", "2,2"}, std::pair{"десять", "2,2"}, std::pair{"10", "abc"}}) {
    form().typeText(form().Text6, fringes);
    form().typeText(form().Text3, scale);
    form().click(form().Command6);
    EXPECT_EQ(text(form().Text5), "110");
    EXPECT_EQ(common::shared().ML, 2.2);
  }
  EXPECT_EQ(messages().size(), 4u);
  form().typeText(form().Text6, "4");
  form().typeText(form().Text3, "1.5");
  form().click(form().Command6);
  EXPECT_EQ(text(form().Text5), "187,5");
  form().mouseDown(form().Picture2, MouseButton::Left, std::nan(""), 3);
  EXPECT_EQ(messages().back(), "Не могу найти эту точку");
  EXPECT_EQ(text(form().Text1), "100");
}

// The picture size: whole numbers from 1 to 8192; anything else changes nothing.
TEST_F(Form6Test, PictureSize) {
  const std::pair<const char*, const char*> refused[] = {
      {"0", "480"}, {"-5", "480"}, {"abc", "480"}, {"8193", "480"}, {"640", "100000"}, {"", ""}};
  for (const auto& [w, h] : refused) {
    form().typeText(form().Text11, w);
    form().typeText(form().Text12, h);
    form().click(form().Command10);
    EXPECT_EQ(form().Picture2.picture().width(), 640) << w;
    EXPECT_EQ(form().Picture2.picture().height(), 480) << h;
  }
  EXPECT_EQ(messages().size(), std::size(refused));
  form().typeText(form().Text11, "1000");
  form().typeText(form().Text12, "240");
  form().click(form().Command10);
  EXPECT_EQ(form().Picture2.picture().width(), 1000);
  EXPECT_EQ(form().Picture2.picture().height(), 240);
  EXPECT_EQ(form().data()["wPic"], 1000);
  EXPECT_EQ(form().HScroll1.max(), 1000 - 644);
  EXPECT_EQ(form().VScroll1.max(), 0);
}

// Every bad input of the window and the whole text of its message (title "Quorvel"), each
// row in a freshly opened window.
TEST_F(Form6Test, EachBadInputGetsItsOwnMessage) {
  const std::string video = folder.file("clip.avi");
  writeVideo(video, video::DemoCodec::Mjpeg, 3, 1, 32, 32);
  std::ofstream(folder.file("notes_3.jpg")) << "not an image";
  const auto program = folder.path();
  std::filesystem::create_directories(program / "Raskadrovka" / "taken");
  using Set = std::vector<std::pair<platform::TextBox Form6::*, const char*>>;
  struct Row {
    const char* what;
    Set fields;
    std::function<void()> act;
    std::string message;
  };
  const auto click = [this](platform::CommandButton Form6::*button) {
    return [this, button] { form().click(form().*button); };
  };
  const auto withPoints = [this] {
    form().mouseDown(form().Picture2, MouseButton::Left, 100, 100);
    form().mouseDown(form().Picture2, MouseButton::Right, 400, 500);
    form().click(form().Command6);
  };
  const auto cut = [this, &video](bool toFolder, bool create) {
    return [this, &video, toFolder, create] {
      openVideo(video);
      if (toFolder) form().click(form().Option4);
      if (create) form().click(form().Check1);
      form().click(form().Command13);
    };
  };
  const auto raskadrovka = (program / "Raskadrovka").string();
  const std::vector<Row> rows = {
      {"photo dialog cancelled", {}, click(&Form6::Command1), "Не могу открыть файл"},
      {"next photo of none", {}, click(&Form6::Command2), "Сначала откройте фотофайл"},
      {"no image",
       {},
       [this] { openPhoto(folder.file("notes_3.jpg")); },
       "Не могу открыть файл " + folder.file("notes_3.jpg")},
      {"window 8",
       {{&Form6::Text13, "8"}},
       click(&Form6::Command4),
       "Номер окна задается целым числом от 0 до 7: картинка копируется в окно № + 1 из 8"},
      {"window -1",
       {{&Form6::Text13, "-1"}},
       click(&Form6::Command4),
       "Номер окна задается целым числом от 0 до 7: картинка копируется в окно № + 1 из 8"},
      {"window letters",
       {{&Form6::Text13, "первое"}},
       click(&Form6::Command4),
       "Номер окна задается целым числом от 0 до 7: картинка копируется в окно № + 1 из 8"},
      {"width 0",
       {{&Form6::Text11, "0"}},
       click(&Form6::Command10),
       "Ширина картинки wPic задается целым числом от 1 до 8192 пикселей"},
      {"width 8193",
       {{&Form6::Text11, "8193"}, {&Form6::Text12, "x"}},
       click(&Form6::Command10),
       "Ширина картинки wPic задается целым числом от 1 до 8192 пикселей"},
      {"height letters",
       {{&Form6::Text12, "abc"}},
       click(&Form6::Command10),
       "Высота картинки hPic задается целым числом от 1 до 8192 пикселей"},
      {"no points", {}, click(&Form6::Command6), "Задайте две точки на рисунке"},
      {"ML letters",
       {{&Form6::Text3, "abc"}},
       withPoints,
       "Масштаб ML, мкм/пиксель, задается числом больше 0"},
      {"ML 0",
       {{&Form6::Text3, "0"}},
       withPoints,
       "Масштаб ML, мкм/пиксель, задается числом больше 0"},
      {"fringes 0", {{&Form6::Text6, "0"}}, withPoints, "Число полос задается числом больше 0"},
      {"fringes 1E400",
       {{&Form6::Text6, "1E400"}},
       withPoints,
       "Число полос задается числом больше 0"},
      {"width overflows",
       {{&Form6::Text3, "1E308"}, {&Form6::Text6, "1E-300"}},
       withPoints,
       "Ширина полос не выражается числом: уменьшите масштаб ML или увеличьте число полос"},
      {"video dialog cancelled", {}, click(&Form6::Command7), "ОШИБКА ОТКРЫТИЯ"},
      {"frame 4 of 3",
       {},
       [this, &video] {
         openVideo(video);
         form().typeText(form().Text4, "4");
         form().click(form().Command8);
       },
       "Номер кадра задается целым числом от 0 до 3"},
      {"interval 0",
       {{&Form6::Text10, "0"}},
       click(&Form6::Command8),
       "Интервал задается целым числом миллисекунд от 1"},
      {"cut without video", {}, click(&Form6::Command13), "Сначала откройте видеофайл"},
      {"cut step 0",
       {{&Form6::Text15, "0"}},
       cut(false, false),
       "Шаг раскадровки задается целым числом кадров от 1"},
      {"cut from -1",
       {{&Form6::Text17, "-1"}},
       cut(false, false),
       "Номер первого кадра раскадровки задается целым числом от 0 до 1073741823"},
      {"folder ../x",
       {{&Form6::Text16, "../x"}},
       cut(true, true),
       "Имя папки для кадров «../x» не годится: нужно непустое имя без «/», «\\» и «..»"},
      {"folder a/b",
       {{&Form6::Text16, "a/b"}},
       cut(true, false),
       "Имя папки для кадров «a/b» не годится: нужно непустое имя без «/», «\\» и «..»"},
      {"folder empty",
       {{&Form6::Text16, ""}},
       cut(true, true),
       "Имя папки для кадров «» не годится: нужно непустое имя без «/», «\\» и «..»"},
      {"folder missing",
       {{&Form6::Text16, "new"}},
       cut(true, false),
       "Нет папки " + raskadrovka + "/new: отметьте «+ создать эту папку»"},
      {"folder there",
       {{&Form6::Text16, "taken"}},
       cut(true, true),
       "Ошибка записи в файл\r\nили такая папка уже существует"},
      {"no Raskadrovka",
       {},
       [&] {
         std::filesystem::rename(raskadrovka, raskadrovka + ".away");
         cut(true, true)();
         std::filesystem::rename(raskadrovka + ".away", raskadrovka);
       },
       "Нет папки " + raskadrovka + ": кадры пишутся в ее подпапки, создайте ее"},
  };
  for (const Row& row : rows) {
    app.windows().unload("Form6");
    app.windows().show("Form6");
    const auto before = static_cast<std::ptrdiff_t>(host.messages().size());
    for (const auto& [field, value] : row.fields) form().typeText(form().*field, value);
    row.act();
    const std::vector<std::string> all = messages();
    EXPECT_EQ(std::vector<std::string>(all.begin() + before, all.end()),
              std::vector<std::string>{row.message})
        << row.what;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(program / "Raskadrovka"), {}), 1);
}

}  // namespace
}  // namespace quorvel::viewer
