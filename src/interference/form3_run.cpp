#include <cmath>
#include <limits>
#include <vector>

#include "common/numbers.h"
#include "common/shared.h"
#include "interference/field_reader.h"
#include "interference/form3.h"
#include "platform/app.h"

namespace quorvel::interference {

using common::numberText;
using platform::Buttons;

namespace {

constexpr char kTitle[] = "Quorvel";
const platform::Color kBlue = platform::rgb(0, 0, 250);
// The pictures are redrawn at least this often while the computation runs.
constexpr auto kPaintEvery = std::chrono::milliseconds(40);
// The fringe marks, and their numbers, drawn between two yields.
constexpr int kMarksPerYield = 1024;
constexpr int kNumbersPerYield = 64;

// A length in µm cut to 6 decimals: Fix(v·10^12)/10^6 for v in metres.
std::string micrometres(double v) {
  return numberText(common::Fix(v * 1e12) / 1e6);
}
std::string micrometres(const std::optional<double>& v) {
  return v ? micrometres(*v) : "";
}

// Holds a flag up while a handler's work goes on (the start's drawing yields too).
class Running {
 public:
  explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
  ~Running() { flag_ = false; }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

 private:
  bool& flag_;
};

constexpr double kIntMost = std::numeric_limits<int>::max();
constexpr double kIntLeast = std::numeric_limits<int>::min();
// A whole number of any size, bounded afterwards with a message of its own.
constexpr double kAny = std::numeric_limits<double>::infinity();

// Numbers along an axis every `stride` ticks, the stride the first of 1, 2, 5, 10, 20, 50 …
// at which the widest number and a blank fit between two numbered ticks `spacing` apart.
long long labelStride(double spacing, double widest) {
  constexpr long long kMost = 1LL << 50;
  for (long long decade = 1; decade < kMost; decade *= 10) {
    for (long long step : {1, 2, 5}) {
      if (step * decade * spacing >= widest) return step * decade;
    }
  }
  return kMost;
}

}  // namespace

// The computation's view of the window.
class Form3::Observer : public model::InterferenceObserver {
 public:
  explicit Observer(Form3& form) : form_(form) {}
  void yield() override { form_.host().doEvents(); }
  void pointPhases(const model::PointPhases& p) override {
    form_.Text73.setText(numberText(common::truncateDecimals(p.N1, 6)));
    form_.Text74.setText(numberText(common::truncateDecimals(p.N2, 6)));
    form_.Text57.setText(numberText(common::truncateDecimals(p.difference, 6)));
  }
  void refresh(const model::StepReport& report) override {
    // Each step waits for its turn at the pace of Text31, the window live meanwhile.
    form_.pacer_.frame(form_.host(), form_.stepsPerSecond_,
                       [] { return common::shared().StopRequested != 0; });
    last_ = report;
    if (report.meanFringePosition) form_.meanFringePosition_ = report.meanFringePosition;
    if (report.graphPoint && form_.Check6.ticked()) form_.drawGraphPoint(*report.graphPoint);
    // Counted from the end of the last repaint, so that wide pictures, whose repaint takes
    // a good part of the interval, still leave most of the time to the computation.
    shownLast_ = std::chrono::steady_clock::now() - form_.lastPaint_ >= kPaintEvery;
    if (shownLast_) {
      form_.showStep(report);
      form_.lastPaint_ = std::chrono::steady_clock::now();
    }
  }
  void fault() override { faulted_ = true; }

  // The step reported last, shown whole when the loop has ended (unless it was just shown).
  const std::optional<model::StepReport>& last() const { return last_; }
  bool shownLast() const { return shownLast_; }
  bool faulted() const { return faulted_; }

 private:
  Form3& form_;
  std::optional<model::StepReport> last_;
  bool shownLast_ = false;
  bool faulted_ = false;
};

platform::PictureBox* Form3::interferencePicture(int number) {
  switch (number) {
    case 1:
      return &Picture5;
    case 2:
      return &Picture6;
    case 3:
      return &Picture7;
    default:
      return nullptr;
  }
}

std::optional<model::ComputationParameters> Form3::readParameters(int& picture) {
  using namespace model;  // the bounds
  ComputationParameters p;
  // The fields of the rays and of the time loop, read first: a bad one is a bad input.
  FieldReader in(host(), "Введите правильно данные");
  const auto Vs = in.number(Text24, "Vs, км/с", kLeastLightSpeed, kMostLightSpeed);
  const auto v01 = in.number(Text25, "v01, МГц", kLeastFrequency, kMostFrequency);
  const auto v02 = in.number(Text63, "v02, МГц", kLeastFrequency, kMostFrequency);
  const auto A1e = in.size(Text11, "A1 в ИСО", kMostAngle);
  const auto A2e = in.size(Text12, "A2 в ИСО", kMostAngle);
  const auto r1 = in.number(Text3, "v1/v01", kLeastRatio, kMostRatio);
  const auto r2 = in.number(Text4, "v2/v01", kLeastRatio, kMostRatio);
  // The rays' speeds in the screen frame are read, as the start always has, and not used.
  in.size(Text15, "V1/Vs в ИСО", kMostScreenValue);
  in.size(Text16, "V2/Vs в ИСО", kMostScreenValue);
  const auto Ve1 = in.size(Text54, "Ve1/Vs", kMostScreenValue);
  const auto Ve2 = in.size(Text55, "Ve2/Vs", kMostScreenValue);
  const auto X1e = in.size(Text36, "X1 в ИСО", kMostScreenValue);
  const auto X2e = in.size(Text37, "X2 в ИСО", kMostScreenValue);
  const auto N10 = in.size(Text7, "N10", kMostPeriods);
  const auto N20 = in.size(Text8, "N20", kMostPeriods);
  const auto dt = in.number(Text40, "шаг решения уравнений, с", kLeastTime, kMostTime);
  const auto MT = in.number(Text32, "MT, с/см", kLeastTime, kMostTime);
  const auto ML = in.whole(Text41, "масштаб, ML", -kAny, kAny);
  const auto lo = in.whole(Text43, "интервал поиска от", -kMostFringes, kMostFringes);
  const auto hi = in.whole(Text44, "интервал поиска до", -kMostFringes, kMostFringes);
  const auto N = in.whole(Text69, "N / 2", -kAny, kAny);
  const auto threshold = in.number(Text49, "освещенность", 0, kMostThreshold);
  const auto F1 = Check4.ticked() ? in.size(Text30, "частота модуляции 1-го, МГц", kMostFrequency)
                                  : std::optional<double>(0.0);
  const auto F2 = Check3.ticked() ? in.size(Text70, "частота модуляции 2-го, МГц", kMostFrequency)
                                  : std::optional<double>(0.0);
  const auto P = in.whole(Text56, "интерференция на картинке №", kIntLeast, kIntMost);
  if (in.failed()) return std::nullopt;
  if (*ML < 1) {
    in.refuse(Text41, "масштаб, ML", 1, kMostScale);
    return std::nullopt;
  }
  if (*N <= 0) {
    host().messageBox("Увеличьте количество полос", Buttons::Ok, kTitle);
    return std::nullopt;
  }
  if (*N > kMostFringes) {
    in.refuse(Text69, "N / 2", 1, kMostFringes);
    return std::nullopt;
  }
  if (*lo == *hi) {
    host().messageBox(
        "Введите правильно данные: в полях «интервал поиска от» и «интервал поиска до» должны "
        "быть разные числа",
        Buttons::Ok, kTitle);
    return std::nullopt;
  }
  // The widest picture a picture box holds: 500·ML pixels.
  if (*ML > kMostScale) {
    host().messageBox("Ширина картинки не может быть\r\n     больше 32767 пикселей", Buttons::Ok,
                      "Trevan5");
    return std::nullopt;
  }
  // The fields the later steps of the start read: a bad one fails the start's computation.
  FieldReader later(host(), "Ошибка в расчете начальных данных");
  const auto measured = Check14.ticked()
                            ? later.number(Text42, "Xk - Xn, мкм", kLeastWidth, kMostWidth)
                            : std::optional<double>(0.0);
  const auto typed1 =
      Option2.value() ? later.size(Text64, "v01*T1", kMostPeriods) : std::optional<double>(0.0);
  const auto typed2 =
      Option2.value() ? later.size(Text65, "v02*T2", kMostPeriods) : std::optional<double>(0.0);
  const auto K = later.whole(Text46, "число интервалов", 1, kMostCount);
  const auto Tint = later.size(Text50, "интервалах через, с", kMostTime);
  const auto M = Check8.ticked() ? later.whole(Text51, "шагов в интервале", 1, kMostCount)
                                 : std::optional<double>(0.0);
  const double half = 250.0 * *ML;
  const auto stopPoint = later.whole(Text19, "Stop для i", -half, half);
  if (later.failed()) return std::nullopt;

  p.Vs = *Vs * 1000;
  p.v01 = *v01 * 1e6;
  p.v02 = *v02 * 1e6;
  p.A1e = *A1e / common::RadToDeg;
  p.A2e = *A2e / common::RadToDeg;
  p.nu1 = *r1 * p.v01;
  p.nu2 = *r2 * p.v01;
  const auto& rate = common::shared().AngularRate;
  p.omega1 = rate[1];
  p.omega2 = rate[2];
  p.Omega1 = 2 * common::Pi * *F1 * 1e6;
  p.Omega2 = 2 * common::Pi * *F2 * 1e6;
  common::shared().AngularRate[21] = p.Omega1;
  common::shared().AngularRate[22] = p.Omega2;
  p.Ve1 = *Ve1 * p.Vs;
  p.Ve2 = *Ve2 * p.Vs;
  p.X1e = *X1e;
  p.X2e = *X2e;
  p.N10 = *N10;
  p.N20 = *N20;
  p.dt = *dt;
  p.halfMT = *MT / 2;
  p.ML = static_cast<int>(*ML);
  p.lo = static_cast<int>(*lo);
  p.hi = static_cast<int>(*hi);
  p.N = static_cast<int>(*N);
  p.threshold = *threshold;
  p.T1 = values_.T1;
  p.T2 = values_.T2;
  p.dT = values_.dT;
  p.centresAtZero = Check1.ticked();
  p.composite = Check9.ticked();
  p.instantaneous = Option9.value();
  p.cosineCross = Check7.ticked();
  p.phases = Option2.value()   ? PhaseRule::FromFields
             : Option3.value() ? PhaseRule::ShiftedFirst
             : Option4.value() ? PhaseRule::DelayOnly
             : Option5.value() ? PhaseRule::FromArrivalTimes
                               : PhaseRule::Given;
  if (Check14.ticked()) p.measuredB = *measured / 1e6;
  p.N1typed = *typed1;
  p.N2typed = *typed2;
  p.intervals = static_cast<int>(*K);
  p.intervalStep = *Tint;
  p.stepLimit =
      Check8.ticked() ? std::optional<long long>(static_cast<long long>(*M)) : std::nullopt;
  p.stopPoint = static_cast<int>(*stopPoint);
  p.singleStep = Check2.ticked();
  picture = static_cast<int>(*P);
  return p;
}

void Form3::start() {
  if (running_ || !readStepsPerSecond()) return;
  // A stop pressed from here on, while the start draws or the computation runs, is heard.
  common::shared().StopRequested = 0;
  Running running(running_);
  int picture = 0;
  std::optional<model::ComputationParameters> read = readParameters(picture);
  if (!read) return;
  model::ComputationParameters p = *read;
  const auto startFailed = [this] {
    host().messageBox("Ошибка в расчете начальных данных", Buttons::Ok, kTitle);
  };

  model::StartValues s;
  if (model::computeWidths(p, s) != model::StartError::None) {
    startFailed();
    return;
  }
  Text47.setText(micrometres(s.L1));
  Text48.setText(micrometres(s.L2));
  Text80.setText(micrometres(s.BVeDifference));
  Text35.setText(micrometres(s.BVeSum));
  Text72.setText(numberText(s.A1p * common::RadToDeg));
  Text77.setText(numberText(s.A2p * common::RadToDeg));
  Text67.setText(micrometres(s.L0));
  Text14.setText(micrometres(s.BAp));
  Text61.setText(micrometres(s.BAngle));
  Text62.setText(micrometres(s.B));
  Text68.setText(micrometres(2.0 * p.N * s.B));

  halfMT_ = p.halfMT;
  if (Check6.ticked()) {
    if (Check5.ticked()) Picture10.picture().cls();
    drawGraphGrid();
  }
  picture_ = picture;
  run_.reset();
  if (platform::PictureBox* box = interferencePicture(picture_)) {
    box->picture().cls();
    box->resize(500 * p.ML, box->picture().height());
    box->picture().scale(-p.N * s.B, s.B, p.N * s.B, 0);
    drawFringeMarks(box->picture(), p.N, s.B);
    platform::ScrollBar* bars[] = {&HScroll1, &HScroll2, &HScroll3};
    platform::ScrollBar& bar = *bars[picture_ - 1];
    bar.setRange(0, std::max(0, 500 * p.ML - Picture2.geometry().width));
    bar.setValue(0);
  }
  model::computePhases(p, s);
  Text20.setText(numberText(common::truncateDecimals(s.N1, 6)));
  Text34.setText(numberText(common::truncateDecimals(s.N2, 6)));
  Text18.setText(numberText(common::truncateDecimals(s.N2 - s.N1, 6)));
  Text75.setText(numberText(common::truncateDecimals(s.dN1, 6)));
  Text76.setText(numberText(common::truncateDecimals(s.dN2, 6)));
  Text38.setText(numberText(common::truncateDecimals(s.dN2 - s.dN1, 6)));

  run_ = std::make_unique<model::InterferenceRun>(p, s, ic_);
  HScroll4.setRange(0, std::max(0, 500 * p.ML - Picture8.geometry().width));
  HScroll4.setValue(0);
  meanFringePosition_.reset();
  columnGreen_.clear();
  fieldMarks_.reset();
  lastCircleColumn_ = lastCircleRow_ = -1;
  execute(false);
}

void Form3::stop() {
  common::shared().StopRequested = 1;
}

void Form3::goOn() {
  if (running_) return;
  if (!run_) {
    host().messageBox("Сначала надо начать расчет", Buttons::Ok, kTitle);
    return;
  }
  execute(true);
}

bool Form3::readStepsPerSecond() {
  const auto value = common::parseNumber(Text31.text());
  if (!value || !(*value >= 0 && *value <= 10000) || *value != std::floor(*value)) {
    host().messageBox("Задайте правильно данные: в поле «шагов/с» должно быть целое число от 0 "
                      "до 10 000, а не «" + Text31.text() + "»",
                      Buttons::Ok, kTitle);
    return false;
  }
  stepsPerSecond_ = static_cast<int>(*value);
  return true;
}

void Form3::execute(bool continuation) {
  if (!readStepsPerSecond()) return;
  pacer_.restart();
  running_ = true;
  Observer observer(*this);
  int& stopFlag = common::shared().StopRequested;
  const model::RunOutcome end =
      continuation ? run_->continueInterval(stopFlag, observer) : run_->run(stopFlag, observer);
  running_ = false;
  ic_ = run_->ic();
  if (observer.last() && !observer.shownLast()) showStep(*observer.last());
  if (end == model::RunOutcome::Fault) {
    host().messageBox("Ошибка решения\r\nПопробуйте увеличить MT", Buttons::Ok, kTitle);
  }
}

void Form3::drawGraphGrid() {
  platform::Picture& g = Picture10.picture();
  g.scale(-2, 1.02, 1600, -0.02);
  const platform::Color light = platform::rgb(220, 220, 220);
  const platform::Color grey = platform::rgb(150, 150, 150);
  for (int x = 0; x <= 1600; x += 2) g.line(x, 0, x, 1, light);
  for (int j = 0; j <= 10; ++j) {
    g.line(0, j / 10.0, 1600, j / 10.0, light);
    if (j % 2 == 0) {
      g.line(0, j / 10.0, 1600, j / 10.0, grey);
      g.setCurrentX(-2);
      g.setCurrentY(j / 10.0 + 0.05);
      g.print(numberText(j / 10.0));
    }
  }
  // The time ticks every 20 units, numbered as many as fit side by side.
  const long long stride = labelStride(20, g.textWidth("800 "));
  for (int x = 0; x <= 1600; x += 20) {
    g.line(x, 0, x, 1, grey);
    if ((x / 20) % stride != 0) continue;
    g.setCurrentX(x - 0.2);
    g.setCurrentY(0.1);
    g.print(numberText(x / 2.0));
  }
  g.line(0, 0, 1600, 0, platform::Color{1});
  g.line(0, -0.2, 0, 1.2, platform::Color{1});
}

void Form3::drawFringeMarks(platform::Picture& picture, int N, double B) {
  // Every mark is drawn (columns of pixels written row by row, so that thousands of them
  // take milliseconds even in the widest picture), then the numbers over them, as many as
  // fit side by side. The stop button stays live between the pieces.
  const platform::Color blue[] = {kBlue};
  std::vector<double> xs;
  xs.reserve(kMarksPerYield);
  for (int j = -N; j <= N; ++j) {
    xs.push_back(j * B);
    if (static_cast<int>(xs.size()) == kMarksPerYield || j == N) {
      picture.columnSpans(xs, blue, 0, B);
      xs.clear();
      if (j < N) host().doEvents();
    }
  }
  const long long stride = labelStride(B, picture.textWidth(std::to_string(-N) + " "));
  long long printed = 0;
  for (long long j = -N / stride * stride; j <= N; j += stride) {
    picture.setCurrentX(static_cast<double>(j) * B);
    picture.setCurrentY(B);
    picture.print(std::to_string(j));
    if (++printed % kNumbersPerYield == 0 && j + stride <= N) host().doEvents();
  }
}

void Form3::drawGraphPoint(const model::GraphPoint& point) {
  platform::Picture& g = Picture10.picture();
  // A circle on the pixel of the one drawn last would change nothing.
  const int column = static_cast<int>(std::floor(g.toPixelX(point.x)));
  const int row = static_cast<int>(std::floor(g.toPixelY(point.y)));
  if (column == lastCircleColumn_ && row == lastCircleRow_) return;
  lastCircleColumn_ = column;
  lastCircleRow_ = row;
  g.circle(point.x, point.y, 0.04, kBlue);
}

void Form3::showStep(const model::StepReport& report) {
  Text13.setText(numberText(report.energyRatio));
  Text58.setText(numberText(report.fringePosition));
  if (meanFringePosition_) Text82.setText(numberText(*meanFringePosition_));
  Text33.setText(numberText(report.T));
  paint(report);
}

void Form3::paint(const model::StepReport& report) {
  if (!run_ || !report.I) return;
  const model::InterferenceRun& run = *run_;
  const double B = run.start().B;
  const int half = (run.points() - 1) / 2;
  if (platform::PictureBox* box = interferencePicture(picture_)) {
    columnGreen_.resize(static_cast<std::size_t>(run.points()), -1);
    std::vector<double> xs;
    std::vector<platform::Color> greens;
    for (int i = -half; i <= half; ++i) {
      const auto k = static_cast<std::size_t>(i + half);
      const int green = static_cast<int>(std::clamp(std::nearbyint((*report.I)[k]), 0.0, 255.0));
      // A column keeps its colour until the brightness there changes.
      if (green == columnGreen_[k]) continue;
      columnGreen_[k] = green;
      xs.push_back(run.xOf(i));
      greens.push_back(platform::rgb(0, green, 0));
    }
    if (!xs.empty()) box->picture().columnSpans(xs, greens, 0, B / 1.25);
  }
  // The fields along the screen, drawn afresh over the fringe marks, which are drawn once
  // per start and copied.
  platform::Picture& f = Picture9.picture();
  if (Picture9.picture().width() != 500 * run.parameters().ML) {
    Picture9.resize(500 * run.parameters().ML, f.height());
  }
  const double width = run.parameters().N * B;
  f.scale(-width, B, width, 0);
  if (!fieldMarks_ || fieldMarks_->width() != f.width() || fieldMarks_->height() != f.height()) {
    fieldMarks_ = std::make_unique<platform::Picture>(f.width(), f.height());
    fieldMarks_->setBackColor(f.backColor());
    fieldMarks_->scale(-width, B, width, 0);
    drawFringeMarks(*fieldMarks_, run.parameters().N, B);
  }
  f.copyFrom(*fieldMarks_);
  for (int i = -half; i <= half; ++i) {
    const auto k = static_cast<std::size_t>(i + half);
    const double x = run.xOf(i);
    const double I = (*report.I)[k];
    f.setPixel(x, (*report.E1)[k] * B / 25 + B / 2, platform::rgb(250, 0, 0));
    f.setPixel(x, (*report.E2)[k] * B / 25 + B / 2, kBlue);
    f.setPixel(x, 0.9 * I * B / 255 + 0.1 * B, platform::rgb(0, 255, 0));
  }
}

}  // namespace quorvel::interference
