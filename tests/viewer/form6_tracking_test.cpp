// The fringe tracking of the viewer window on generated fringe videos with a known shift.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <random>

#include "app/forms.h"
#include "common/numbers.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "video_test_support.h"
#include "viewer/form6.h"

namespace quorvel::viewer {
namespace {

using platform::MouseButton;
using testing_support::TempFolder;
using video::DemoCodec;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 32;
constexpr double kPeriod = 23.7;  // pixels across the fringes

// Fringes 128 + 90·cos(2π((x cos α + y sin α)/period − shift(k))) with Gaussian noise:
// a growing shift moves them along +x, from point 1 toward point 2.
struct FringeVideo {
  std::function<double(int)> shift;  // fringes, of frame k = 1 … kFrames
  double angleDeg = 0;
  double noise = 0;  // grey levels
  bool uniform = false;

  std::function<int(int, int, int)> grey() const {
    auto random = std::make_shared<std::mt19937>(20261208);
    const double angle = angleDeg * std::numbers::pi / 180;
    return [*this, random, c = std::cos(angle), s = std::sin(angle)](int k, int x, int y) {
      if (uniform) return 128;
      double value =
          128 + 90 * std::cos(2 * std::numbers::pi * ((x * c + y * s) / kPeriod - shift(k)));
      if (noise > 0) value += std::normal_distribution<double>(0, noise)(*random);
      return static_cast<int>(std::lround(value));
    };
  }
};

void writeFringeVideo(const std::string& path, DemoCodec codec, const FringeVideo& fringes) {
  video::DemoVideo demo;
  demo.path = path;
  demo.codec = codec;
  demo.frames = kFrames;
  demo.width = kWidth;
  demo.height = kHeight;
  demo.groupOfFrames = 12;
  demo.grey = fringes.grey();
  std::string error;
  ASSERT_TRUE(video::writeDemoVideo(demo, &error)) << error;
}

class Form6TrackingTest : public testing::Test {
 protected:
  Form6TrackingTest() : app(host) {
    app::registerForms(app.windows());
    host.setProgramFolder(folder.path());
    app.windows().show("Form6");
  }
  ~Form6TrackingTest() override {
    for (auto* open : app.windows().openForms()) app.windows().unload(open->name());
  }
  Form6& form() { return *static_cast<Form6*>(app.windows().find("Form6")); }
  void openVideo(const std::string& path) {
    host.queueFile(path);
    form().click(form().Command7);
    ASSERT_EQ(lastMessage(), "");
  }
  void segment(double x1, double y1, double x2, double y2) {
    form().mouseDown(form().Picture2, MouseButton::Left, x1, y1);
    form().mouseDown(form().Picture2, MouseButton::Right, x2, y2);
  }
  // The text of the last message since the last call, "" when none came.
  std::string lastMessage() {
    const auto& messages = host.messages();
    const std::string text = messages.size() > seen_ ? messages.back().text : "";
    seen_ = messages.size();
    return text;
  }
  std::size_t seen_ = 0;

  TempFolder folder{"tracking"};
  platform::HeadlessHost host;
  platform::App app;
};

// Each motion in each codec: the measured shift against the truth, frame by frame, within
// the RMS the codec allows; the speed of the drift from its line; the results as exported.
TEST_F(Form6TrackingTest, MeasuresKnownShiftsInCodedVideos) {
  const auto drift = [](int k) { return 0.013 * k; };
  const auto sinusoid = [](int k) { return 0.05 * std::sin(2 * std::numbers::pi * k / 16); };
  struct Case {
    const char* name;
    FringeVideo fringes;
    double speedPerFrame;  // fringes per frame; NaN: not checked
  };
  const Case cases[] = {
      {"drift", {drift}, 0.013},
      {"sinusoid", {sinusoid}, std::nan("")},
      {"at 20°", {drift, 20}, 0.013},
      {"noise", {sinusoid, 0, 5}, std::nan("")},
  };
  const std::pair<DemoCodec, double> codecs[] = {{DemoCodec::Mjpeg, 0.005},
                                                 {DemoCodec::H264, 0.02}};
  for (const auto& [codec, tolerance] : codecs) {
    if (!video::encoderAvailable(codec)) continue;
    for (const Case& c : cases) {
      const bool mjpeg = codec == DemoCodec::Mjpeg;
      SCOPED_TRACE(std::string(c.name) + (mjpeg ? " MJPEG" : " H.264"));
      const std::string path = folder.file(std::string(c.name) + (mjpeg ? ".avi" : ".mp4"));
      writeFringeVideo(path, codec, c.fringes);
      openVideo(path);
      segment(40, 240, 600, 240);
      form().click(form().Command15);
      ASSERT_EQ(lastMessage(), "");
      const tracking::FringeTracker* tracker = form().tracker();
      ASSERT_NE(tracker, nullptr);
      const auto& measured = tracker->measurements();
      ASSERT_EQ(measured.size(), static_cast<std::size_t>(kFrames));
      const double cosine = std::cos(c.fringes.angleDeg * std::numbers::pi / 180);
      EXPECT_NEAR(tracker->periodPx(), kPeriod / cosine, 0.05);
      double squares = 0;
      for (const auto& m : measured) {
        ASSERT_FALSE(m.skipped) << m.frame;
        const double truth = c.fringes.shift(m.frame + 1) - c.fringes.shift(1);
        squares += (m.shift - truth) * (m.shift - truth);
      }
      const double rms = std::sqrt(squares / kFrames);
      EXPECT_LT(rms, tolerance);
      std::printf("[ accuracy ] %-9s %-6s RMS %.5f fringe\n", c.name, mjpeg ? "MJPEG" : "H.264",
                  rms);
      // 25 frames a second: fringes per second.
      if (!std::isnan(c.speedPerFrame)) {
        EXPECT_NEAR(*tracker->speed(), c.speedPerFrame * 25, 25 * tolerance / 4);
        EXPECT_EQ(form().Text21.text(), common::formatNumber(*tracker->speed(), "0.00000"));
      }
      const auto results = form().results();
      ASSERT_TRUE(results);
      const auto& frames = results->tables.at(1);
      ASSERT_EQ(frames.rows.size(), static_cast<std::size_t>(kFrames));
      EXPECT_EQ(frames.columns,
                (std::vector<std::string>{"кадр", "время, с", "фаза, рад", "смещение, полос",
                                          "контраст", "пропущен"}));
      EXPECT_EQ(std::get<long long>(frames.rows[2][0]), 3);
      EXPECT_DOUBLE_EQ(std::get<double>(frames.rows[2][1]), 2.0 / 25);
      EXPECT_DOUBLE_EQ(std::get<double>(frames.rows[2][3]), measured[2].shift);
      EXPECT_EQ(std::get<long long>(frames.rows[2][5]), 0);
      EXPECT_EQ(form().data()["tracking"]["tables"][1]["rows"].size(),
                static_cast<std::size_t>(kFrames));
      form().click(form().Command14);
    }
  }
}

// What the user can get wrong, each with its message; the last tracking stays as it was.
TEST_F(Form6TrackingTest, BadInputGivesItsMessageAndKeepsTheLastTracking) {
  const std::string fringes = folder.file("fringes.avi");
  writeFringeVideo(fringes, DemoCodec::Mjpeg, {[](int k) { return 0.01 * k; }});
  const std::string grey = folder.file("grey.avi");
  writeFringeVideo(grey, DemoCodec::Mjpeg, {[](int) { return 0.0; }, 0, 0, true});

  form().click(form().Command15);
  EXPECT_EQ(lastMessage(),
            "Не задан отрезок 1–2: отметьте точки 1 и 2 поперек полос (левый и правый щелчок)");
  segment(40, 240, 600, 240);
  form().click(form().Command15);
  EXPECT_EQ(lastMessage(), "Сначала откройте фото- или видеофайл");

  openVideo(fringes);
  form().typeText(form().Text19, "10");
  form().click(form().Command15);
  ASSERT_NE(form().tracker(), nullptr);
  EXPECT_EQ(form().tracker()->measurements().size(), 10u);
  const std::string period = form().Text20.text();

  struct Case {
    const char* strip;
    const char* frames;
    std::array<double, 4> segment;
    const char* message;
  };
  const Case cases[] = {
      {"8",
       "10",
       {40, 240, 600, 240},
       "Ширина полосы усреднения должна быть нечетным целым числом от 1 до 201 пикселя"},
      {"203",
       "10",
       {40, 240, 600, 240},
       "Ширина полосы усреднения должна быть нечетным целым числом от 1 до 201 пикселя"},
      {"9",
       "0",
       {40, 240, 600, 240},
       "Число кадров задается целым числом от 1 до 32; пустое поле — до конца видео"},
      {"9",
       "2,5",
       {40, 240, 600, 240},
       "Число кадров задается целым числом от 1 до 32; пустое поле — до конца видео"},
      {"9", "10", {100, 240, 130, 240}, "Отрезок 1–2 короче двух периодов полос: удлините его"},
      {"201",
       "10",
       {40, 60, 600, 60},
       "Отрезок 1–2 вместе с полосой усреднения выходит за пределы кадра"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    form().typeText(form().Text18, c.strip);
    form().typeText(form().Text19, c.frames);
    segment(c.segment[0], c.segment[1], c.segment[2], c.segment[3]);
    form().click(form().Command15);
    EXPECT_EQ(lastMessage(), c.message);
    EXPECT_EQ(form().tracker()->measurements().size(), 10u);
    EXPECT_EQ(form().Text20.text(), period);
  }

  // From frame 30 on only 3 frames remain of the 10 asked for: they are measured and said.
  form().typeText(form().Text18, "9");
  form().typeText(form().Text4, "30");
  form().click(form().Command8);
  form().click(form().Command11);
  segment(40, 240, 600, 240);
  form().click(form().Command15);
  EXPECT_EQ(lastMessage(), "Видео кончается на кадре 32: отслежено кадров 3 из 10");
  EXPECT_EQ(form().tracker()->measurements().size(), 3u);
  EXPECT_EQ(std::get<long long>(form().results()->tables.at(1).rows[0][0]), 30);

  // "Остановить" while it runs ends it after the frame in hand, keeping what was measured.
  form().typeText(form().Text4, "1");
  form().click(form().Command8);
  form().click(form().Command11);
  form().typeText(form().Text19, "");
  int yields = 0;
  host.onDoEvents = [&] {
    if (++yields == 4) form().click(form().Command11);
  };
  form().click(form().Command15);
  host.onDoEvents = nullptr;
  EXPECT_EQ(lastMessage(), "");
  EXPECT_EQ(form().tracker()->measurements().size(), 4u);
  EXPECT_EQ(form().Picture5.model().series.at(0).x.size(), 4u);
  EXPECT_FALSE(form().trackingRunning());

  form().click(form().Command14);
  openVideo(grey);
  form().typeText(form().Text19, "");
  segment(40, 240, 600, 240);
  form().click(form().Command15);
  EXPECT_EQ(lastMessage(),
            "В профиле вдоль отрезка 1–2 нет явного пика спектра: полосы не различимы");
  EXPECT_EQ(form().tracker()->measurements().size(), 4u);
}

// With a photo open and no video, the button measures the one picture: its period and phase,
// and a photo of the series moved by a quarter of a fringe shows a phase a quarter turn on.
TEST_F(Form6TrackingTest, MeasuresThePeriodAndPhaseOfPhotos) {
  const double shifts[] = {0.1, 0.35};
  double phases[2] = {};
  for (int n = 0; n < 2; ++n) {
    const auto grey = FringeVideo{[&](int) { return shifts[n]; }}.grey();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const auto level = static_cast<std::uint8_t>(grey(1, x, y));
        for (int c = 0; c < 3; ++c) rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3 + c] = level;
      }
    }
    platform::Picture photo(1, 1);
    ASSERT_TRUE(photo.setPixels(kWidth, kHeight, rgb.data(), kWidth * 3));
    ASSERT_TRUE(photo.save(folder.file("shot_" + std::to_string(n + 1) + ".bmp")));
  }
  host.queueFile(folder.file("shot_1.bmp"));
  form().click(form().Command1);
  segment(40, 240, 600, 240);
  for (int n = 0; n < 2; ++n) {
    if (n == 1) form().click(form().Command2);
    form().click(form().Command15);
    ASSERT_EQ(lastMessage(), "");
    ASSERT_EQ(form().tracker()->measurements().size(), 1u);
    EXPECT_EQ(form().Text20.text(), "23,700");
    EXPECT_EQ(form().Text21.text(), "");
    phases[n] = form().tracker()->measurements()[0].phase;
    EXPECT_EQ(form().Label7.caption(),
              "Фото: фаза полос " + common::formatNumber(phases[n], "0.0000") + " рад");
  }
  EXPECT_NEAR(std::remainder(phases[1] - phases[0], 2 * std::numbers::pi),
              2 * std::numbers::pi * 0.25, 1e-3);
}

}  // namespace
}  // namespace quorvel::viewer
