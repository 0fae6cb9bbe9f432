#include <cmath>
#include <limits>

#include "common/numbers.h"
#include "common/shared.h"
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

// A length in µm cut to 6 decimals: Fix(v·10^12)/10^6 for v in metres.
std::string micrometres(double v) {
  return numberText(common::Fix(v * 1e12) / 1e6);
}
std::string micrometres(const std::optional<double>& v) {
  return v ? micrometres(*v) : "";
}

// A whole number as the runtime converts a field to an integer: half to even.
std::optional<int> integer(const platform::TextBox& box) {
  auto value = common::parseNumber(box.text());
  if (!value) return std::nullopt;
  const double rounded = std::nearbyint(*value);
  if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(rounded);
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
    last_ = report;
    if (report.meanFringePosition) form_.meanFringePosition_ = report.meanFringePosition;
    if (report.graphPoint && form_.Check6.ticked()) form_.drawGraphPoint(*report.graphPoint);
    // Counted from the end of the last repaint, so that wide pictures, whose repaint takes
    // a good part of the interval, still leave most of the time to the computation.
    if (std::chrono::steady_clock::now() - form_.lastPaint_ >= kPaintEvery) {
      form_.showStep(report);
      form_.lastPaint_ = std::chrono::steady_clock::now();
    }
  }
  void fault() override { faulted_ = true; }

  // The step reported last, shown whole when the loop has ended.
  const std::optional<model::StepReport>& last() const { return last_; }
  bool faulted() const { return faulted_; }

 private:
  Form3& form_;
  std::optional<model::StepReport> last_;
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

std::optional<model::ComputationParameters> Form3::readParameters() {
  model::ComputationParameters p;
  const auto number = [](const platform::TextBox& box) { return common::parseNumber(box.text()); };
  const auto bad = [this] {
    host().messageBox("Введите правильно данные", Buttons::Ok, kTitle);
    return std::nullopt;
  };
  // The fields of the rays and of the time loop.
  const auto Vs = number(Text24), v01 = number(Text25), v02 = number(Text63);
  const auto A1e = number(Text11), A2e = number(Text12), r1 = number(Text3), r2 = number(Text4);
  const auto V1e = number(Text15), V2e = number(Text16), Ve1 = number(Text54), Ve2 = number(Text55);
  const auto X1e = number(Text36), X2e = number(Text37), N10 = number(Text7), N20 = number(Text8);
  const auto dt = number(Text40), MT = number(Text32), threshold = number(Text49);
  const auto ML = integer(Text41), lo = integer(Text43), hi = integer(Text44), N = integer(Text69);
  const auto F1 = Check4.ticked() ? number(Text30) : std::optional<double>(0.0);
  const auto F2 = Check3.ticked() ? number(Text70) : std::optional<double>(0.0);
  if (!Vs || !v01 || !v02 || !A1e || !A2e || !r1 || !r2 || !V1e || !V2e || !Ve1 || !Ve2 || !X1e ||
      !X2e || !N10 || !N20 || !dt || !MT || !threshold || !ML || !lo || !hi || !N || !F1 || !F2) {
    return bad();
  }
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
  p.ML = *ML;
  p.lo = *lo;
  p.hi = *hi;
  p.N = *N;
  p.threshold = *threshold;
  p.T1 = values_.T1;
  p.T2 = values_.T2;
  p.dT = values_.dT;
  p.centresAtZero = Check1.ticked();
  p.composite = Check9.ticked();
  p.instantaneous = Option9.value();
  p.cosineCross = Check7.ticked();
  p.phases = Option2.value()   ? model::PhaseRule::FromFields
             : Option3.value() ? model::PhaseRule::ShiftedFirst
             : Option4.value() ? model::PhaseRule::DelayOnly
             : Option5.value() ? model::PhaseRule::FromArrivalTimes
                               : model::PhaseRule::Given;
  return p;
}

void Form3::start() {
  if (running_) return;
  std::optional<model::ComputationParameters> read = readParameters();
  if (!read) return;
  model::ComputationParameters p = *read;
  switch (model::checkSettings(p)) {
    case model::StartError::NoFringes:
      host().messageBox("Увеличьте количество полос", Buttons::Ok, kTitle);
      return;
    case model::StartError::None:
      break;
    default:
      host().messageBox("Введите правильно данные", Buttons::Ok, kTitle);
      return;
  }
  const auto picture = integer(Text56);
  if (!picture) {
    host().messageBox("Введите правильно данные", Buttons::Ok, kTitle);
    return;
  }
  // The fields the later steps of the start read.
  const auto startFailed = [this] {
    host().messageBox("Ошибка в расчете начальных данных", Buttons::Ok, kTitle);
  };
  const auto number = [](const platform::TextBox& box) { return common::parseNumber(box.text()); };
  const auto measured = Check14.ticked() ? number(Text42) : std::optional<double>(0.0);
  const auto typed1 = Option2.value() ? number(Text64) : std::optional<double>(0.0);
  const auto typed2 = Option2.value() ? number(Text65) : std::optional<double>(0.0);
  const auto K = integer(Text46);
  const auto Tint = number(Text50);
  const auto M = Check8.ticked() ? integer(Text51) : std::optional<int>(0);
  const auto stopPoint = integer(Text19);
  if (!measured || !typed1 || !typed2 || !K || !Tint || !M || !stopPoint) {
    startFailed();
    return;
  }
  if (Check14.ticked()) p.measuredB = *measured / 1e6;
  p.N1typed = *typed1;
  p.N2typed = *typed2;
  p.intervals = *K;
  p.intervalStep = *Tint;
  p.stepLimit = Check8.ticked() ? std::optional<long long>(*M) : std::nullopt;
  p.stopPoint = *stopPoint;
  p.singleStep = Check2.ticked();

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
  Text68.setText(micrometres(2 * p.N * s.B));

  halfMT_ = p.halfMT;
  if (Check6.ticked()) {
    if (Check5.ticked()) Picture10.picture().cls();
    drawGraphGrid();
  }
  if (model::checkPictureWidth(p) == model::StartError::TooWide) {
    host().messageBox("Ширина картинки не может быть\r\n     больше 32767 пикселей", Buttons::Ok,
                      "Trevan5");
    return;
  }
  picture_ = *picture;
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

void Form3::execute(bool continuation) {
  running_ = true;
  Observer observer(*this);
  int& stopFlag = common::shared().StopRequested;
  const model::RunOutcome end =
      continuation ? run_->continueInterval(stopFlag, observer) : run_->run(stopFlag, observer);
  running_ = false;
  ic_ = run_->ic();
  if (observer.last()) showStep(*observer.last());
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
  for (int x = 0; x <= 1600; x += 20) {
    g.line(x, 0, x, 1, grey);
    g.setCurrentX(x - 0.2);
    g.setCurrentY(0.1);
    g.print(numberText(x / 2.0));
  }
  g.line(0, 0, 1600, 0, platform::Color{1});
  g.line(0, -0.2, 0, 1.2, platform::Color{1});
}

void Form3::drawFringeMarks(platform::Picture& picture, int N, double B) {
  for (int j = -N; j <= N; ++j) {
    picture.line(j * B, 0, j * B, B, kBlue);
    picture.setCurrentX(j * B);
    picture.setCurrentY(B);
    picture.print(std::to_string(j));
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
    platform::Picture& picture = box->picture();
    columnGreen_.resize(static_cast<std::size_t>(run.points()), -1);
    for (int i = -half; i <= half; ++i) {
      const auto k = static_cast<std::size_t>(i + half);
      const int green = static_cast<int>(std::clamp(std::nearbyint((*report.I)[k]), 0.0, 255.0));
      // A column keeps its colour until the brightness there changes.
      if (green == columnGreen_[k]) continue;
      columnGreen_[k] = green;
      picture.columnSpan(run.xOf(i), 0, B / 1.25, platform::rgb(0, green, 0));
    }
  }
  // The fields along the screen, drawn afresh.
  platform::Picture& f = Picture9.picture();
  f.cls();
  if (Picture9.picture().width() != 500 * run.parameters().ML) {
    Picture9.resize(500 * run.parameters().ML, f.height());
  }
  const double width = run.parameters().N * B;
  f.scale(-width, B, width, 0);
  drawFringeMarks(f, run.parameters().N, B);
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
