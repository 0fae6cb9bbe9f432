#include "viewer/form6.h"

#include <cmath>
#include <limits>
#include <system_error>

#include "common/numbers.h"
#include "common/shared.h"
#include "platform/app.h"
#include "viewer/form6_tooltips.h"

namespace quorvel::viewer {

using platform::Buttons;

namespace {

constexpr char kTitle[] = "Quorvel";
constexpr char kCaption[] = "Quorvel1  Form6  Просмотр фото и видео файлов";
constexpr char kFileCaption[] = "Quorvel1  Form6  файл   ";
constexpr char kCannotOpen[] = "Не могу открыть файл";
constexpr char kCannotFindPoint[] = "Не могу найти эту точку";
constexpr char kSetTwoPoints[] = "Задайте две точки на рисунке";
constexpr char kOpenFailed[] = "ОШИБКА ОТКРЫТИЯ";
constexpr char kGoToFrameFailed[] = "ОШИБКА в GoToFrame";
constexpr char kCutFailed[] = "Ошибка записи в файл\r\nили такая папка уже существует";
constexpr char kBadWindowNumber[] =
    "Номер окна задается целым числом от 0 до 7: картинка копируется в окно № + 1 из 8";
constexpr char kBadPictureWidth[] =
    "Ширина картинки wPic задается целым числом от 1 до 8192 пикселей";
constexpr char kBadPictureHeight[] =
    "Высота картинки hPic задается целым числом от 1 до 8192 пикселей";
constexpr char kBadScale[] = "Масштаб ML, мкм/пиксель, задается числом больше 0";
constexpr char kBadFringes[] = "Число полос задается числом больше 0";
constexpr char kWidthNotANumber[] =
    "Ширина полос не выражается числом: уменьшите масштаб ML или увеличьте число полос";
constexpr char kBadInterval[] = "Интервал задается целым числом миллисекунд от 1";
constexpr char kBadCutStep[] = "Шаг раскадровки задается целым числом кадров от 1";
constexpr char kNoVideo[] = "Сначала откройте видеофайл";
constexpr char kNoPhoto[] = "Сначала откройте фотофайл";
constexpr char kPhotoFilter[] =
    "All Files (*.*)|*.*|BMP Files (*.bmp)|*.bmp|GIF Files (*.gif)|*.gif|"
    "ICO Files (*.ico)|*.ico|JPG Files (*.jpg)|*.jpg|";
constexpr int kPhotoDialogFlags = 4100;  // the file must exist; read-only box hidden
constexpr char kVideoFilter[] = "Video files (*.*)|*.*";
constexpr platform::Color kGuideBlue = platform::rgb(0, 0, 250);
constexpr double kPointRadius = 5.2;
constexpr int kSmallWindows = 8;
constexpr int kViewWidth = 644;  // the part of Picture2 that Picture4 shows
constexpr int kViewHeight = 484;

// A field read as a whole number (a number rounded to the nearest integer, as the
// runtime's conversion does), within [least, most]; nothing otherwise.
std::optional<int> wholeNumber(const platform::TextBox& field, long long least, long long most) {
  const auto value = common::parseNumber(field.text());
  if (!value || !std::isfinite(*value)) return std::nullopt;
  const double rounded = std::nearbyint(*value);
  if (rounded < static_cast<double>(least) || rounded > static_cast<double>(most)) {
    return std::nullopt;
  }
  return static_cast<int>(rounded);
}

// "Frame" + at least three digits of n + ".bmp".
std::string frameFileName(int n) {
  std::string digits = std::to_string(n);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return "Frame" + digits + ".bmp";
}

bool safeFolderName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos && name.find("..") == std::string::npos &&
         name != ".";
}

}  // namespace

Form6::Form6(platform::App& app)
    : Form(app, "Form6", kCaption, 1310, 1010),
      Picture4(*this, "Picture4", kViewWidth, kViewHeight),
      Picture2(*this, "Picture2", 640, 480),
      HScroll1(*this, "HScroll1", true, 0, 0),
      VScroll1(*this, "VScroll1", false, 0, 0),
      Command1(*this, "Command1", "Открыть фотофайл (bmp, jpg)"),
      Command2(*this, "Command2", "Следующий"),
      Command3(*this, "Command3", "Предыдущий"),
      Command4(*this, "Command4", "Скопировать в окно №"),
      Text13(*this, "Text13", "1"),
      Command10(*this, "Command10", "Задать размер картинки"),
      Text11(*this, "Text11", "640"),
      Text12(*this, "Text12", "480"),
      Text1(*this, "Text1"),
      Text2(*this, "Text2"),
      Text7(*this, "Text7"),
      Text8(*this, "Text8"),
      Text9(*this, "Text9"),
      Text3(*this, "Text3", "2,2"),
      Command6(*this, "Command6", "Рассчитать ширину полос для выбранного участка из"),
      Text6(*this, "Text6", "10"),
      Text5(*this, "Text5"),
      Command5(*this, "Command5", "Закрыть форму"),
      Command7(*this, "Command7", "Открыть видеофайл avi"),
      Label6(*this, "Label6", "Nmax= xxx кадров"),
      Command8(*this, "Command8", "Начать просмотр с кадра №"),
      Text4(*this, "Text4", "0"),
      Text10(*this, "Text10", "10"),
      Command11(*this, "Command11", "Остановить"),
      Command12(*this, "Command12", "Продолжить"),
      Command9(*this, "Command9", "Сместить на 1 кадр"),
      Frame1(*this, "Frame1"),
      Option1(*this, "Option1", "Вперед", true),
      Option2(*this, "Option2", "Назад"),
      Text14(*this, "Text14"),
      Command14(*this, "Command14", "Закрыть видеофайл"),
      Command13(*this, "Command13", "Сделать раскадровку через"),
      Text15(*this, "Text15", "20"),
      Text17(*this, "Text17", "0"),
      Frame2(*this, "Frame2"),
      Option3(*this, "Option3", "на экран", true),
      Option4(*this, "Option4", "в папку"),
      Text16(*this, "Text16", "m5p10_1"),
      Check1(*this, "Check1", "+ создать эту папку"),
      Timer1(*this, "Timer1", 10, false),
      Command15(*this, "Command15", "Отследить полосы вдоль отрезка 1–2"),
      Text18(*this, "Text18", "9"),
      Text19(*this, "Text19"),
      Label7(*this, "Label7"),
      Picture5(*this, "Picture5", 800, 310),
      Text20(*this, "Text20"),
      Text21(*this, "Text21"),
      Text22(*this, "Text22") {
  for (int k = 1; k <= kSmallWindows; ++k) {
    Picture1.push_back(std::make_unique<platform::PictureBox>(*this, "Picture1", 156, 117, k));
  }
  layout();
  platform::applyToolTips(*this, form6ToolTips());
  Picture5.setTitle("Смещение полос вдоль отрезка 1–2");
  Picture5.setXAxis({"Кадр", "", {}, {}, 0});
  Picture5.setYAxis({"Смещение", "полос", {}, {}, 0});

  Command1.onClick = [this] { openPhoto(); };
  Command2.onClick = [this] { stepPhoto(+1); };
  Command3.onClick = [this] { stepPhoto(-1); };
  Command4.onClick = [this] { copyToSmallWindow(true); };
  Command10.onClick = [this] { setPictureSize(); };
  Command6.onClick = [this] { fringeWidth(); };
  Command5.onClick = [this] {
    // A cut still going (the button was pressed during one) ends at its next frame.
    stopCut_ = true;
    stopTrack_ = 1;
    this->app().windows().unload(name());
  };
  Picture2.onMouseDown = [this](platform::MouseButton button, double x, double y) {
    pointClicked(button, x, y);
  };
  HScroll1.onChange = [this] { Picture2.move(-HScroll1.value(), Picture2.geometry().top); };
  VScroll1.onChange = [this] { Picture2.move(Picture2.geometry().left, -VScroll1.value()); };

  Command7.onClick = [this] { openVideo(); };
  Command9.onClick = [this] {
    if (!cutting_ && !tracking_) step();
  };
  Timer1.onTick = [this] {
    if (!cutting_ && !tracking_) step();
  };
  Command8.onClick = [this] { startStepping(true); };
  Command12.onClick = [this] { startStepping(false); };
  Command11.onClick = [this] { stopStepping(); };
  Command14.onClick = [this] { closeVideo(); };
  Command13.onClick = [this] { cutVideo(); };
  Command15.onClick = [this] { trackFringes(); };
}

Form6::~Form6() = default;

platform::Label& Form6::addCaption(const std::string& name, const std::string& text, int left,
                                   int top, int width) {
  captions_.push_back(std::make_unique<platform::Label>(*this, "Label_" + name, text));
  captions_.back()->setGeometry(left, top + 3, width, 20);
  return *captions_.back();
}

void Form6::layout() {
  Picture4.setGeometry(10, 10, kViewWidth, kViewHeight);
  Picture2.setContainer("Picture4");
  Picture2.setGeometry(0, 0, 640, 480);
  VScroll1.setGeometry(10 + kViewWidth + 2, 10, 18, kViewHeight);
  HScroll1.setGeometry(10, 10 + kViewHeight + 2, kViewWidth, 18);
  for (int k = 1; k <= kSmallWindows; ++k) {
    smallWindow(k).setGeometry(10 + (k - 1) * 161, 560, 156, 117);
  }

  constexpr int x = 690;
  Command1.setGeometry(x, 10, 300, 28);
  Command5.setGeometry(1150, 10, 150, 28);
  Command2.setGeometry(x, 42, 145, 28);
  Command3.setGeometry(x + 155, 42, 145, 28);
  Command4.setGeometry(x, 74, 230, 28);
  Text13.setGeometry(x + 235, 76, 40, 24);
  Command10.setGeometry(x, 106, 200, 28);
  addCaption("Text11", "wPic", x + 205, 108, 40);
  Text11.setGeometry(x + 245, 108, 60, 24);
  addCaption("Text12", "hPic", x + 310, 108, 40);
  Text12.setGeometry(x + 350, 108, 60, 24);
  addCaption("Text1", "X1", x, 140, 30);
  Text1.setGeometry(x + 30, 140, 100, 24);
  addCaption("Text2", "Y1", x + 140, 140, 30);
  Text2.setGeometry(x + 170, 140, 100, 24);
  addCaption("Text7", "X2", x, 168, 30);
  Text7.setGeometry(x + 30, 168, 100, 24);
  addCaption("Text8", "Y2", x + 140, 168, 30);
  Text8.setGeometry(x + 170, 168, 100, 24);
  addCaption("Text9", "L, пиксель", x, 196, 90);
  Text9.setGeometry(x + 90, 196, 140, 24);
  addCaption("Text3", "ML, мкм/пиксель", x + 240, 196, 120);
  Text3.setGeometry(x + 360, 196, 70, 24);
  Command6.setGeometry(x, 226, 420, 28);
  Text6.setGeometry(x + 425, 228, 50, 24);
  addCaption("Text5", " полос =", x, 258, 70);
  Text5.setGeometry(x + 70, 258, 160, 24);
  addCaption("Text5_unit", " мкм", x + 235, 258, 40);

  Command7.setGeometry(x, 300, 220, 28);
  Label6.setGeometry(x + 230, 304, 250, 20);
  Command8.setGeometry(x, 334, 230, 28);
  Text4.setGeometry(x + 235, 336, 60, 24);
  addCaption("Text10", "с интервалом", x + 300, 336, 95);
  Text10.setGeometry(x + 395, 336, 60, 24);
  addCaption("Text10_unit", "мс", x + 460, 336, 30);
  Command11.setGeometry(x, 368, 140, 28);
  Command12.setGeometry(x + 150, 368, 140, 28);
  Command9.setGeometry(x, 408, 180, 28);
  Frame1.setGeometry(x + 190, 398, 220, 44);
  Option1.setContainer("Frame1");
  Option1.setGeometry(8, 16, 100, 22);
  Option2.setContainer("Frame1");
  Option2.setGeometry(110, 16, 100, 22);
  addCaption("Text14", "текущий кадр N=", x, 450, 125);
  Text14.setGeometry(x + 125, 450, 90, 24);
  Command14.setGeometry(x + 230, 448, 190, 28);
  Command13.setGeometry(x, 484, 220, 28);
  Text15.setGeometry(x + 225, 486, 50, 24);
  addCaption("Text17", "кадров с №", x + 280, 486, 85);
  Text17.setGeometry(x + 365, 486, 50, 24);
  Frame2.setGeometry(x, 514, 220, 40);
  Option3.setContainer("Frame2");
  Option3.setGeometry(8, 14, 100, 22);
  Option4.setContainer("Frame2");
  Option4.setGeometry(110, 14, 100, 22);
  Text16.setGeometry(x + 225, 522, 120, 24);
  Check1.setGeometry(x + 350, 522, 220, 24);

  Picture5.setGeometry(10, 690, 800, 310);
  constexpr int t = 830;
  Command15.setGeometry(t, 690, 300, 28);
  addCaption("Text18", "Ширина полосы усреднения, пикселей", t, 724, 270);
  Text18.setGeometry(t + 275, 724, 60, 24);
  addCaption("Text19", "Кадров", t, 752, 270);
  Text19.setGeometry(t + 275, 752, 60, 24);
  Label7.setGeometry(t, 784, 470, 20);
  addCaption("Text20", "Период полос, пикселей", t, 812, 200);
  Text20.setGeometry(t + 205, 812, 120, 24);
  addCaption("Text21", "Скорость полос", t, 840, 200);
  Text21.setGeometry(t + 205, 840, 120, 24);
  speedUnit_ = &addCaption("Text21_unit", "полос/с", t + 330, 840, 90);
  addCaption("Text22", "Размах смещения, полос", t, 868, 200);
  Text22.setGeometry(t + 205, 868, 120, 24);
}

void Form6::load() {
  Timer1.setTimerEnabled(false);
  wPic = 640;
  hPic = 480;
  Picture2.picture().setBackColor(platform::rgb(255, 255, 255));
  updateScrollRanges();
}

void Form6::unloading() {
  // Nothing runs on after the window: a cut or a tracking has ended (the window closes
  // after its handler), the timer stops and the video is let go.
  Timer1.setTimerEnabled(false);
  stopTrack_ = 1;
  source_.reset();
}

nlohmann::json Form6::data() const {
  auto point = [](const std::optional<std::array<double, 2>>& p) -> nlohmann::json {
    if (!p) return nullptr;
    return {{"x", (*p)[0]}, {"y", (*p)[1]}};
  };
  nlohmann::json number = nullptr;
  if (numbered_.number) number = *numbered_.number;
  return {{"file", fileName_},
          {"prefix", numbered_.prefix},
          {"number", number},
          {"extension", numbered_.extension},
          {"wPic", wPic},
          {"hPic", hPic},
          {"point1", point(point1_)},
          {"point2", point(point2_)},
          {"videoFile", videoFile_},
          {"videoOpen", source_ != nullptr},
          {"Nmax", Nmax},
          {"N", N},
          {"frameImage", frameImagePath_.string()},
          {"timer", {{"enabled", Timer1.timerEnabled()}, {"interval", Timer1.interval()}}},
          {"cutRunning", cutting_},
          {"trackingRunning", tracking_},
          {"tracking", trackingJson()}};
}

void Form6::message(const std::string& text) {
  host().messageBox(text, Buttons::Ok, kTitle);
}

// ---- Photos -------------------------------------------------------------------------------

bool Form6::showPhoto(const std::string& path) {
  platform::Picture& picture = Picture2.picture();
  if (!picture.load(path)) return false;
  // The box takes the photo's size, so all of it can be scrolled into view.
  const int w = std::min(picture.loadedWidth(), kMaxPictureSide);
  const int h = std::min(picture.loadedHeight(), kMaxPictureSide);
  if (w != picture.width() || h != picture.height()) {
    Picture2.resize(w, h);
    if (!picture.load(path)) return false;
  }
  updateScrollRanges();
  return true;
}

void Form6::showCaption() {
  setCaption(kFileCaption + fileName_);
}

void Form6::drawGuideLines(platform::Picture& picture) const {
  for (double x : {wPic / 4.0, wPic / 2.0, 3.0 * wPic / 4.0, wPic - 1.0}) {
    picture.line(x, 0.0, x, hPic, kGuideBlue);
  }
}

void Form6::openPhoto() {
  const auto path = host().openFileDialog({kPhotoFilter, "", "", kPhotoDialogFlags});
  if (!path) {
    message(kCannotOpen);
    return;
  }
  if (!showPhoto(*path)) {
    message(std::string(kCannotOpen) + " " + *path);
    return;
  }
  fileName_ = *path;
  showCaption();
  numbered_ = splitNumberedFile(fileName_);
  wPic = 640;
  hPic = 480;
  drawGuideLines(Picture2.picture());
}

void Form6::stepPhoto(int delta) {
  if (fileName_.empty()) {
    message(kNoPhoto);
    return;
  }
  if (!numbered_.number) {
    message(std::string(kCannotOpen) + " " + fileName_);
    return;
  }
  const long long next = static_cast<long long>(*numbered_.number) + delta;
  if (next < 0 || next > std::numeric_limits<int>::max()) {
    message(std::string(kCannotOpen) + " " + fileName_);
    return;
  }
  // The number moves on even when that file is missing, so a gap in a series can be
  // stepped over.
  numbered_.number = static_cast<int>(next);
  const std::string path = numberedPath(numbered_, *numbered_.number);
  if (!showPhoto(path)) {
    message(std::string(kCannotOpen) + " " + path);
    return;
  }
  fileName_ = path;
  drawGuideLines(Picture2.picture());
  showCaption();
}

bool Form6::copyToSmallWindow(bool fromButton) {
  const auto window =
      wholeNumber(Text13, std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max() - 1);
  const bool behindWindow = window && *window >= 0 && *window < kSmallWindows;
  // The button names a window that must be there; a cut numbers on past the last window,
  // whose later frames then go to none.
  if (!window || (fromButton && !behindWindow)) {
    message(kBadWindowNumber);
    return false;
  }
  if (!behindWindow) return true;
  const int k = *window + 1;
  platform::Picture& target = smallWindow(k).picture();
  target.copyFrom(Picture2.picture());
  // The guide lines where they stand on the copied image.
  target.scale(0.0, 0.0, Picture2.picture().width(), Picture2.picture().height());
  drawGuideLines(target);
  return true;
}

void Form6::setPictureSize() {
  const auto width = wholeNumber(Text11, 1, kMaxPictureSide);
  if (!width) {
    message(kBadPictureWidth);
    return;
  }
  const auto height = wholeNumber(Text12, 1, kMaxPictureSide);
  if (!height) {
    message(kBadPictureHeight);
    return;
  }
  if (!resizePicture(*width, *height)) return;
  wPic = *width;
  hPic = *height;
}

bool Form6::resizePicture(int width, int height) {
  Picture2.resize(width, height);
  updateScrollRanges();
  if (Picture2.picture().width() == width && Picture2.picture().height() == height) return true;
  message("Не хватает памяти для картинки " + std::to_string(width) + " × " +
          std::to_string(height) + " пикселей");
  return false;
}

void Form6::updateScrollRanges() {
  HScroll1.setRange(0, std::max(0, Picture2.picture().width() - kViewWidth));
  VScroll1.setRange(0, std::max(0, Picture2.picture().height() - kViewHeight));
  HScroll1.setSteps(10, kViewWidth / 2);
  VScroll1.setSteps(10, kViewHeight / 2);
  Picture2.move(-HScroll1.value(), -VScroll1.value());
}

void Form6::pointClicked(platform::MouseButton button, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) {
    message(kCannotFindPoint);
    return;
  }
  if (button == platform::MouseButton::Left) {
    Text1.setText(common::numberText(x));
    Text2.setText(common::numberText(y));
    point1_ = {x, y};
  } else {
    Text7.setText(common::numberText(x));
    Text8.setText(common::numberText(y));
    point2_ = {x, y};
  }
  Picture2.picture().circle(x, y, kPointRadius, kGuideBlue);
}

void Form6::fringeWidth() {
  if (!point1_ || !point2_) {
    message(kSetTwoPoints);
    return;
  }
  const auto fringes = common::parseNumber(Text6.text());
  if (!fringes || !(*fringes > 0.0)) {
    message(kBadFringes);
    return;
  }
  const auto scale = common::parseNumber(Text3.text());
  if (!scale || !(*scale > 0.0)) {
    message(kBadScale);
    return;
  }
  const double dx = (*point2_)[0] - (*point1_)[0];
  const double dy = (*point2_)[1] - (*point1_)[1];
  const double length = std::sqrt(dx * dx + dy * dy);
  const double width = *scale * length / *fringes;
  if (!std::isfinite(length) || !std::isfinite(width)) {
    message(kWidthNotANumber);
    return;
  }
  common::shared().ML = *scale;  // µm per pixel while the viewer measures
  Text9.setText(common::numberText(length));
  Text5.setText(common::numberText(width));
}

// ---- Video --------------------------------------------------------------------------------

bool Form6::Reload() {
  if (videoFile_.empty()) return false;
  if (!source_) {
    auto source = video::makeVideoSource();
    if (!source->open(videoFile_)) throw VideoFault{};
    source_ = std::move(source);
    Nmax = static_cast<int>(std::lround(source_->frameCount()));
  }
  return true;
}

bool Form6::GoToFrame(int& frame) {
  try {
    if (Reload()) {
      // Frames are written at the picture's size, wPic × hPic, whatever size a photo shown
      // before gave the box.
      if (!resizePicture(wPic, hPic)) {
        Timer1.setTimerEnabled(false);
        return false;
      }
      // The frame is shown and kept as Frame.bmp in the program folder.
      platform::Picture& picture = Picture2.picture();
      if (!source_->readFrame(frame, wPic, hPic, framePixels_) ||
          !picture.setPixels(framePixels_.width, framePixels_.height, framePixels_.rgb.data(),
                             3 * framePixels_.width) ||
          !picture.save(frameImagePath_.string())) {
        throw VideoFault{};
      }
      drawGuideLines(Picture2.picture());
      Text14.setText(std::to_string(N));
      Reload();
    }
    return true;
  } catch (const VideoFault&) {
    // A timer stepping on would repeat the message every tick.
    Timer1.setTimerEnabled(false);
    message(kGoToFrameFailed);
    return false;
  }
}

void Form6::openVideo() {
  if (cutting_ || tracking_) return;
  const auto path = host().openFileDialog({kVideoFilter, "", "Select File", 0});
  if (!path) {
    message(kOpenFailed);
    return;
  }
  // The video open now stays until the new one has opened.
  auto source = video::makeVideoSource();
  if (!source->open(*path)) {
    message(kOpenFailed);
    return;
  }
  videoFile_ = *path;
  source_ = std::move(source);
  source_->seek(0);
  const int count = static_cast<int>(std::lround(source_->frameCount()));
  Label6.setCaption("Nmax= " + std::to_string(count) + " кадров");
  Text4.setText("0");
  N = 0;
  Nmax = count;
  frameImagePath_ = host().programFolder() / "Frame.bmp";
  stepForward();
}

void Form6::stepForward() {
  if (Nmax - 1 >= N) showFrame(N + 1);
}

void Form6::stepBackward() {
  if (N >= 1) showFrame(N - 1);
}

bool Form6::showFrame(int frame) {
  // A frame that cannot be shown leaves N at the frame that is shown.
  const int shown = N;
  N = frame;
  if (GoToFrame(N)) return true;
  N = shown;
  return false;
}

void Form6::step() {
  if (Option1.value()) {
    stepForward();
  } else if (Option2.value()) {
    stepBackward();
  }
}

void Form6::startStepping(bool fromFrameOfText4) {
  if (cutting_ || tracking_) return;
  std::optional<int> from;
  if (fromFrameOfText4) {
    from = wholeNumber(Text4, 0, Nmax);
    if (!from) {
      message("Номер кадра задается целым числом от 0 до " + std::to_string(Nmax));
      return;
    }
  }
  const auto interval = wholeNumber(Text10, 1, std::numeric_limits<int>::max());
  if (!interval) {
    message(kBadInterval);
    return;
  }
  if (from) {
    // The frame asked for is shown at once; the timer steps on from it.
    if (!showFrame(*from)) return;
  }
  Timer1.setInterval(*interval);
  Timer1.setTimerEnabled(true);
}

void Form6::stopStepping() {
  Timer1.setTimerEnabled(false);
  if (cutting_) stopCut_ = true;
  if (tracking_) stopTrack_ = 1;
}

void Form6::closeVideo() {
  if (cutting_ || tracking_) return;
  source_.reset();
}

bool Form6::cutFolder(std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  const std::string name = Text16.text();
  if (!safeFolderName(name)) {
    message("Имя папки для кадров «" + name +
            "» не годится: нужно непустое имя без «/», «\\» и «..»");
    return false;
  }
  const fs::path cuts = host().programFolder() / "Raskadrovka";
  folder = cuts / name;
  std::error_code error;
  if (!fs::is_directory(cuts, error)) {
    message("Нет папки " + cuts.string() + ": кадры пишутся в ее подпапки, создайте ее");
    return false;
  }
  if (Check1.ticked()) {
    if (fs::create_directory(folder, error) && !error) return true;
    message(kCutFailed);
    return false;
  }
  if (fs::is_directory(folder, error)) return true;
  message("Нет папки " + folder.string() + ": отметьте «+ создать эту папку»");
  return false;
}

void Form6::cutVideo() {
  if (cutting_ || tracking_) return;
  if (videoFile_.empty()) {
    message(kNoVideo);
    return;
  }
  const auto every = wholeNumber(Text15, 1, std::numeric_limits<int>::max());
  if (!every) {
    message(kBadCutStep);
    return;
  }
  constexpr int kLastFirst = std::numeric_limits<int>::max() / 2;
  const auto first = wholeNumber(Text17, 0, kLastFirst);
  if (!first) {
    message("Номер первого кадра раскадровки задается целым числом от 0 до " +
            std::to_string(kLastFirst));
    return;
  }
  const bool toScreen = Option3.value();
  const bool toFolder = Option4.value();
  std::filesystem::path folder;
  if (toFolder && !cutFolder(folder)) return;
  const int s = *every;
  int n = *first;
  cutting_ = true;
  stopCut_ = false;
  common::shared().StopRequested = 0;
  for (long long frame = 0; frame <= Nmax; frame += s) {
    if (!showFrame(static_cast<int>(frame))) break;
    if (toScreen && !copyToSmallWindow(false)) break;
    if (toFolder && !Picture2.picture().save((folder / frameFileName(n)).string())) {
      Timer1.setTimerEnabled(false);
      message(kCutFailed);
      break;
    }
    Text13.setText(std::to_string(n));
    n = n + 1;
    host().doEvents();
    if (stopCut_ || common::shared().StopRequested != 0) break;
  }
  cutting_ = false;
}

}  // namespace quorvel::viewer
