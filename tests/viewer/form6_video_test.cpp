#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "app/forms.h"
#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "video_test_support.h"
#include "viewer/form6.h"

namespace quorvel::viewer {
namespace {

using testing_support::shownNumber;
using testing_support::TempFolder;
using video::DemoCodec;

constexpr char kCutFailed[] = "Ошибка записи в файл\r\nили такая папка уже существует";

// One video of 100 frames with key frames 60 apart, made once for all the tests.
class Form6VideoTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    videos = std::make_unique<TempFolder>("videos");
    testing_support::writeVideo(videos->file("hundred.avi"), DemoCodec::Mpeg4, 100, 60);
  }
  static void TearDownTestSuite() { videos.reset(); }
  static std::string hundred() { return videos->file("hundred.avi"); }

  Form6VideoTest() : app(host) {
    app::registerForms(app.windows());
    host.setProgramFolder(folder.path());
    app.windows().show("Form6");
  }
  ~Form6VideoTest() override {
    for (auto* open : app.windows().openForms()) app.windows().unload(open->name());
  }
  Form6* viewer() { return static_cast<Form6*>(app.windows().find("Form6")); }
  Form6& form() { return *viewer(); }
  void openVideo(const std::string& path) {
    host.queueFile(path);
    form().click(form().Command7);
  }
  int shown() { return shownNumber(form().Picture2.picture()); }
  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& m : host.messages()) {
      EXPECT_EQ(m.title, "Quorvel") << m.text;
      texts.push_back(m.text);
    }
    return texts;
  }
  void set(platform::TextBox& box, const std::string& value) { form().typeText(box, value); }

  static std::unique_ptr<TempFolder> videos;
  TempFolder folder{"program"};
  platform::HeadlessHost host;
  platform::App app;
};

std::unique_ptr<TempFolder> Form6VideoTest::videos;

// Opening shows Nmax and frame 1; steps go up to 100 and down to 0 (which shows frame 1),
// and stop there.
TEST_F(Form6VideoTest, OpenAndStepBothWays) {
  openVideo(hundred());
  ASSERT_TRUE(host.messages().empty()) << host.messages()[0].text;
  ASSERT_EQ(host.fileDialogs().size(), 1u);
  EXPECT_EQ(host.fileDialogs()[0].filter, "Video files (*.*)|*.*");
  EXPECT_EQ(host.fileDialogs()[0].title, "Select File");
  EXPECT_EQ(form().Label6.caption(), "Nmax= 100 кадров");
  EXPECT_EQ(form().Text4.text(), "0");
  EXPECT_EQ(form().Text14.text(), "1");
  EXPECT_EQ(shown(), 1);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "Frame.bmp"));
  // The guide lines are drawn over each frame.
  EXPECT_EQ(form().Picture2.picture().pixel(320, 10), (platform::Rgb{0, 0, 250}));

  for (int frame = 2; frame <= 100; ++frame) {
    form().click(form().Command9);
    ASSERT_EQ(form().Text14.text(), std::to_string(frame));
    ASSERT_EQ(shown(), frame);
  }
  form().click(form().Command9);
  EXPECT_EQ(form().Text14.text(), "100");
  EXPECT_EQ(form().frameNumber(), 100);

  form().click(form().Option2);
  for (int frame = 99; frame >= 0; --frame) {
    form().click(form().Command9);
    ASSERT_EQ(form().Text14.text(), std::to_string(frame));
    ASSERT_EQ(shown(), frame == 0 ? 1 : frame);
  }
  form().click(form().Command9);
  EXPECT_EQ(form().frameNumber(), 0);
  EXPECT_TRUE(host.messages().empty());

  auto data = form().data();
  EXPECT_EQ(data["Nmax"], 100);
  EXPECT_EQ(data["N"], 0);
  EXPECT_EQ(data["videoFile"], hundred());
  EXPECT_EQ(data["timer"]["enabled"], false);
}

// The timer steps from Text4 at the interval of Text10; stop and continue; the frame size
// follows Picture2; a closed component opens the file again on the next frame.
TEST_F(Form6VideoTest, TimerStepsStopAndContinue) {
  openVideo(hundred());
  set(form().Text4, "50");
  form().click(form().Command8);
  EXPECT_TRUE(form().Timer1.timerEnabled());
  EXPECT_EQ(form().Timer1.interval(), 10);
  ASSERT_TRUE(host.wait(app.windows(), 100));
  EXPECT_EQ(form().frameNumber(), 60);
  EXPECT_EQ(shown(), 60);
  form().click(form().Command11);
  ASSERT_TRUE(host.wait(app.windows(), 100));
  EXPECT_EQ(form().frameNumber(), 60);

  form().click(form().Option2);
  set(form().Text10, "25");
  form().click(form().Command12);
  ASSERT_TRUE(host.wait(app.windows(), 100));
  EXPECT_EQ(form().frameNumber(), 56);
  EXPECT_EQ(shown(), 56);
  // Backwards past 0 the timer keeps running but nothing moves.
  ASSERT_TRUE(host.wait(app.windows(), 25 * 70));
  EXPECT_EQ(form().frameNumber(), 0);
  form().click(form().Command11);

  set(form().Text11, "320");
  set(form().Text12, "240");
  form().click(form().Command10);
  form().click(form().Command14);
  EXPECT_EQ(form().videoSource(), nullptr);
  form().click(form().Option1);
  form().click(form().Command9);
  EXPECT_NE(form().videoSource(), nullptr);
  EXPECT_EQ(form().Picture2.picture().width(), 320);
  EXPECT_EQ(shown(), 1);
  form().click(form().Command9);
  EXPECT_EQ(shown(), 2);

  // Fields that are no numbers, or frames outside 0 … Nmax, start nothing.
  for (auto [from, interval] : {std::pair{"x", "10"}, std::pair{"-1", "10"}, std::pair{"101", "10"},
                                std::pair{"5", "0"}, std::pair{"5", "мс"}}) {
    set(form().Text4, from);
    set(form().Text10, interval);
    form().click(form().Command8);
    EXPECT_FALSE(form().Timer1.timerEnabled()) << from << " " << interval;
    EXPECT_EQ(form().frameNumber(), 2);
  }
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Номер кадра задается целым числом от 0 до 100",
                                      "Номер кадра задается целым числом от 0 до 100",
                                      "Номер кадра задается целым числом от 0 до 100",
                                      "Интервал задается целым числом миллисекунд от 1",
                                      "Интервал задается целым числом миллисекунд от 1"}));
}

// Jumps anywhere by "Начать просмотр с кадра №": the frame asked for at once (Nmax as
// well), the frame after it at the first tick.
TEST_F(Form6VideoTest, JumpsShowTheFrameAskedFor) {
  openVideo(hundred());
  for (int from : {90, 3, 61, 59, 1, 99, 30, 31, 29, 75, 100}) {
    set(form().Text4, std::to_string(from));
    form().click(form().Command8);
    EXPECT_EQ(form().Text14.text(), std::to_string(from));
    EXPECT_EQ(shown(), from);
    ASSERT_TRUE(host.wait(app.windows(), 10));
    form().click(form().Command11);
    const int next = std::min(from + 1, 100);
    EXPECT_EQ(form().Text14.text(), std::to_string(next));
    EXPECT_EQ(shown(), next);
  }
  EXPECT_TRUE(host.messages().empty());
}

// Frames are written at wPic × hPic: after a large photo (the box took its size), and at
// the largest picture of 8K video, 8192 × 4320 (more than the image reader's own limit).
TEST_F(Form6VideoTest, FramesAtThePictureSize) {
  platform::Picture photo(3000, 2000);
  photo.setBackColor(platform::rgb(200, 0, 0));
  ASSERT_TRUE(photo.save(folder.file("photo_1.bmp")));
  host.queueFile(folder.file("photo_1.bmp"));
  form().click(form().Command1);
  ASSERT_EQ(form().Picture2.picture().width(), 3000);
  openVideo(hundred());
  EXPECT_EQ(form().Picture2.picture().width(), 640);
  EXPECT_EQ(form().Picture2.picture().height(), 480);
  platform::Picture written(1, 1);
  ASSERT_TRUE(written.load(folder.file("Frame.bmp")));
  EXPECT_EQ(written.loadedWidth(), 640);
  EXPECT_EQ(shown(), 1);

  set(form().Text11, "8192");
  set(form().Text12, "4320");
  form().click(form().Command10);
  form().click(form().Command9);
  EXPECT_EQ(form().Picture2.picture().width(), 8192);
  EXPECT_EQ(form().Picture2.picture().height(), 4320);
  // The bar code's blocks lie across the whole picture: a smaller frame misreads.
  EXPECT_EQ(shown(), 2);
  EXPECT_EQ(form().frameNumber(), 2);
  EXPECT_TRUE(host.messages().empty()) << host.messages()[0].text;
}

// The cut into the small windows: frames 0, 20, … 100; the first into Picture1(Text13 + 1),
// each later one into the window after the previous number.
TEST_F(Form6VideoTest, CutIntoTheSmallWindows) {
  openVideo(hundred());
  form().click(form().Command13);
  EXPECT_TRUE(host.messages().empty());
  EXPECT_EQ(form().Text13.text(), "5");
  const int expected[] = {20, 40, 60, 80, 100};
  for (int k = 1; k <= 5; ++k) {
    EXPECT_EQ(shownNumber(form().smallWindow(k).picture()), expected[k - 1]) << k;
  }
  EXPECT_EQ(form().smallWindow(6).picture().pixel(5, 5), (platform::Rgb{255, 255, 255}));
  EXPECT_EQ(shown(), 100);
  EXPECT_FALSE(form().cutRunning());
}

// The cut into files: Frame000.bmp … in Raskadrovka/<Text16>, each the frame asked for.
TEST_F(Form6VideoTest, CutIntoFiles) {
  openVideo(hundred());
  const auto cuts = folder.path() / "Raskadrovka";
  std::filesystem::create_directory(cuts);
  form().click(form().Option4);
  form().click(form().Check1);
  form().click(form().Command13);
  ASSERT_TRUE(host.messages().empty()) << host.messages()[0].text;
  const int frames[] = {1, 20, 40, 60, 80, 100};
  for (int n = 0; n < 6; ++n) {
    const auto file = cuts / "m5p10_1" / ("Frame00" + std::to_string(n) + ".bmp");
    platform::Picture picture(640, 480);
    ASSERT_TRUE(picture.load(file.string())) << file;
    EXPECT_EQ(shownNumber(picture), frames[n]) << file;
  }
  EXPECT_FALSE(std::filesystem::exists(cuts / "m5p10_1" / "Frame006.bmp"));

  // Every 30th frame from number 998: the names keep all digits past 999.
  set(form().Text15, "30");
  set(form().Text17, "998");
  set(form().Text16, "later");
  form().click(form().Command13);
  for (const char* name : {"Frame998.bmp", "Frame999.bmp", "Frame1000.bmp", "Frame1001.bmp"}) {
    EXPECT_TRUE(std::filesystem::exists(cuts / "later" / name)) << name;
  }
  EXPECT_EQ(form().Text13.text(), "1001");

  // The folder made above exists now: nothing more is written.
  form().click(form().Command13);
  EXPECT_EQ(messages(), std::vector<std::string>{kCutFailed});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cuts / "later"), {}), 4);
}

// Bad folders, missing Raskadrovka, bad numbers: a message each (their texts are in the
// window's table of messages) and nothing written.
TEST_F(Form6VideoTest, CutRefusesWhatItCannotWrite) {
  form().click(form().Command13);
  EXPECT_EQ(messages(), std::vector<std::string>{"Сначала откройте видеофайл"});
  openVideo(hundred());
  form().click(form().Option4);
  // No Raskadrovka folder, with and without creating the folder.
  form().click(form().Command13);
  form().click(form().Check1);
  form().click(form().Command13);
  std::filesystem::create_directory(folder.path() / "Raskadrovka");
  form().click(form().Check1);
  // Without "+ создать эту папку" the folder must be there already.
  form().click(form().Command13);
  form().click(form().Check1);
  for (const char* name : {"../escape", "a/b", "a\\b", "..", "", "."}) {
    form().typeText(form().Text16, name);
    form().click(form().Command13);
  }
  EXPECT_EQ(messages().size(), 1u + 3u + 6u);
  EXPECT_EQ(std::distance(
                std::filesystem::recursive_directory_iterator(folder.path() / "Raskadrovka"), {}),
            0);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "escape"));

  form().typeText(form().Text16, "ok");
  for (auto [every, first] : {std::pair{"0", "0"}, std::pair{"-20", "0"}, std::pair{"x", "0"},
                              std::pair{"20", "-1"}, std::pair{"20", "n"}}) {
    form().typeText(form().Text15, every);
    form().typeText(form().Text17, first);
    form().click(form().Command13);
  }
  EXPECT_EQ(messages().size(), 1u + 3u + 6u + 5u);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "Raskadrovka" / "ok"));
}

// A write that fails half way: the files written stay, one message, cut and timer stop.
TEST_F(Form6VideoTest, CutStopsWhenAWriteFails) {
  openVideo(hundred());
  const auto target = folder.path() / "Raskadrovka" / "m5p10_1";
  std::filesystem::create_directories(target);
  // A folder where the third file should go.
  std::filesystem::create_directory(target / "Frame002.bmp");
  form().click(form().Option4);
  form().click(form().Command8);
  ASSERT_TRUE(form().Timer1.timerEnabled());
  form().click(form().Command13);
  EXPECT_EQ(messages(), std::vector<std::string>{kCutFailed});
  EXPECT_TRUE(std::filesystem::exists(target / "Frame000.bmp"));
  EXPECT_TRUE(std::filesystem::exists(target / "Frame001.bmp"));
  EXPECT_FALSE(std::filesystem::exists(target / "Frame003.bmp"));
  EXPECT_FALSE(form().Timer1.timerEnabled());
  EXPECT_FALSE(form().cutRunning());
  EXPECT_EQ(form().Text13.text(), "1");
  // The window goes on working.
  form().click(form().Command9);
  EXPECT_EQ(messages().size(), 1u);
}

// Videos that do not open keep the video that was open; a frame that cannot be written
// reports GoToFrame's failure once and stops the timer.
TEST_F(Form6VideoTest, BadVideosAndFrameFailures) {
  openVideo(hundred());
  form().click(form().Command9);
  std::ofstream(folder.file("text.avi")) << "no video";
  form().click(form().Command7);  // cancelled
  openVideo(folder.file("text.avi"));
  openVideo(folder.file("missing.avi"));
  EXPECT_EQ(messages(), std::vector<std::string>(3, "ОШИБКА ОТКРЫТИЯ"));
  EXPECT_EQ(form().Label6.caption(), "Nmax= 100 кадров");
  EXPECT_EQ(form().frameNumber(), 2);
  form().click(form().Command9);
  EXPECT_EQ(shown(), 3);

  // Frame.bmp cannot be written: a folder stands in its place.
  std::filesystem::remove(folder.path() / "Frame.bmp");
  std::filesystem::create_directory(folder.path() / "Frame.bmp");
  // Each step that fails leaves N at the frame shown.
  form().click(form().Command9);
  form().click(form().Command9);
  EXPECT_EQ(form().frameNumber(), 3);
  set(form().Text4, "40");
  form().click(form().Command8);
  EXPECT_EQ(form().frameNumber(), 3);
  EXPECT_EQ(messages().size(), 6u);
  EXPECT_EQ(messages().back(), "ОШИБКА в GoToFrame");
  EXPECT_FALSE(form().Timer1.timerEnabled());
  std::filesystem::remove(folder.path() / "Frame.bmp");
  form().click(form().Command9);
  EXPECT_EQ(messages().size(), 6u);
  EXPECT_EQ(form().frameNumber(), 4);
  EXPECT_EQ(shown(), 4);

  // The video file vanishes while its component is closed: the next frame reports it.
  const std::string copy = folder.file("copy.avi");
  std::filesystem::copy_file(hundred(), copy);
  openVideo(copy);
  form().click(form().Command14);
  std::filesystem::remove(copy);
  form().click(form().Command9);
  EXPECT_EQ(messages().back(), "ОШИБКА в GoToFrame");
  EXPECT_EQ(messages().size(), 7u);
  EXPECT_EQ(form().frameNumber(), 1);
}

// Closing the window stops the timer and a running cut; nothing runs on afterwards.
TEST_F(Form6VideoTest, ClosingStopsTimerAndCut) {
  openVideo(hundred());
  form().click(form().Command8);
  form().click(form().Command5);
  EXPECT_EQ(viewer(), nullptr);
  ASSERT_TRUE(host.wait(app.windows(), 200));

  app.windows().show("Form6");
  openVideo(hundred());
  const auto target = folder.path() / "Raskadrovka";
  std::filesystem::create_directory(target);
  form().click(form().Option4);
  form().click(form().Check1);
  int yields = 0;
  host.onDoEvents = [this, &yields] {
    if (++yields == 2) app.windows().requestClose("Form6");
  };
  form().click(form().Command13);
  host.onDoEvents = nullptr;
  EXPECT_EQ(viewer(), nullptr);
  EXPECT_EQ(yields, 2);
  EXPECT_TRUE(std::filesystem::exists(target / "m5p10_1" / "Frame001.bmp"));
  EXPECT_FALSE(std::filesystem::exists(target / "m5p10_1" / "Frame002.bmp"));
  common::shared().StopRequested = 0;

  // The window's own close button pressed during a cut.
  app.windows().show("Form6");
  openVideo(hundred());
  form().click(form().Option4);
  form().typeText(form().Text16, "second");
  form().click(form().Check1);
  yields = 0;
  host.onDoEvents = [this, &yields] {
    if (++yields == 3) form().click(form().Command5);
  };
  form().click(form().Command13);
  host.onDoEvents = nullptr;
  EXPECT_EQ(viewer(), nullptr);
  EXPECT_TRUE(std::filesystem::exists(target / "second" / "Frame002.bmp"));
  EXPECT_FALSE(std::filesystem::exists(target / "second" / "Frame003.bmp"));
  EXPECT_EQ(common::shared().StopRequested, 0);
}

// A header that declares pictures of 9000 × 9000 pixels is refused before decoding.
TEST_F(Form6VideoTest, PicturesBeyondTheLargestFrame) {
  testing_support::writeTinyGif(folder.file("huge.gif"), 9000, 9000);
  openVideo(folder.file("huge.gif"));
  EXPECT_EQ(messages(), std::vector<std::string>{"ОШИБКА ОТКРЫТИЯ"});
  EXPECT_EQ(form().Label6.caption(), "Nmax= xxx кадров");
}

// A file with sound only and a video cut off half way.
TEST_F(Form6VideoTest, NoVideoStreamAndTruncatedVideo) {
  {
    std::ofstream wav(folder.file("sound.wav"), std::ios::binary);
    const unsigned char header[44] = {
        'R', 'I', 'F', 'F', 36 + 200, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
        ' ', 16,  0,   0,   0,        1, 0,   1,   0,   0x40, 0x1F, 0,   0,   0x80, 0x3E,
        0,   0,   2,   0,   16,       0, 'd', 'a', 't', 'a',  200,  0,   0,   0};
    wav.write(reinterpret_cast<const char*>(header), sizeof header);
    for (int i = 0; i < 200; ++i) wav.put(static_cast<char>(i));
  }
  openVideo(folder.file("sound.wav"));
  EXPECT_EQ(messages(), std::vector<std::string>{"ОШИБКА ОТКРЫТИЯ"});
  EXPECT_EQ(form().Label6.caption(), "Nmax= xxx кадров");

  const std::string cut = folder.file("cut.avi");
  std::filesystem::copy_file(hundred(), cut);
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
  openVideo(cut);
  ASSERT_EQ(messages().size(), 1u) << messages().back();
  const int count = form().frameTotal();
  EXPECT_GT(count, 10);
  EXPECT_LT(count, 100);
  EXPECT_EQ(form().Label6.caption(), "Nmax= " + std::to_string(count) + " кадров");
  set(form().Text4, std::to_string(count - 3));
  form().click(form().Command8);
  ASSERT_TRUE(host.wait(app.windows(), 100));
  EXPECT_EQ(form().frameNumber(), count);
  EXPECT_EQ(shown(), count);
  EXPECT_EQ(messages().size(), 1u);
}

}  // namespace
}  // namespace quorvel::viewer
