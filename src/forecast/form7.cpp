#include "forecast/form7.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "app/form1.h"
#include "astro/ether_wind.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/stepping_loop.h"
#include "forecast/form7_tooltips.h"
#include "forecast/model/classical_curve.h"
#include "forecast/model/parallel_turn.h"
#include "platform/app.h"

namespace quorvel::forecast {

using platform::Buttons;

namespace {

constexpr const char* kTitle = "Quorvel";
// The sidereal day in days of UT.
constexpr double kSiderealDay = 0.99726956633;
// The bound of the 1887 observation, fringes.
constexpr double kObservedBound = 0.02;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double fullTurn(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360.0;
  return a >= 360.0 ? 0.0 : a;
}

std::string shown(const std::optional<double>& value, const char* pattern) {
  return value ? common::formatNumber(*value, pattern) : "—";
}

platform::ResultCell cell(const std::optional<double>& value) {
  return value ? platform::ResultCell(*value) : platform::ResultCell(std::monostate{});
}

}  // namespace

Form7::Form7(platform::App& app)
    : Form(app, "Form7", "Прогноз смещения полос", 1100, 800),
      Frame1(*this, "Frame1", "Скорость установки относительно эфира"),
      Option1(*this, "Option1", "из полей эксперимента (Vss, Vz)", true),
      Option2(*this, "Option2",
              "Земля для даты, времени и места главного окна (эфир покоится относительно Солнца)"),
      Option3(*this, "Option3", "то же + движение Солнца относительно реликтового излучения"),
      Label1(*this, "Label1", "Азимут оси x установки, град"),
      Label2(*this, "Label2", "Положений за оборот"),
      Label3(*this, "Label3", "Моментов за звездные сутки"),
      Text1(*this, "Text1", "0"),
      Text2(*this, "Text2", "16"),
      Text3(*this, "Text3", "1"),
      Check1(*this, "Check1", "+ v01·(T1 − T2) всего пути на графике", 0),
      Command1(*this, "Command1", "Рассчитать"),
      Command2(*this, "Command2", "Остановить"),
      Command3(*this, "Command3", "Закрыть форму"),
      Label4(*this, "Label4", ""),
      Picture1(*this, "Picture1", 1080, 560),
      Label10(*this, "Label10", "Амплитуда по модели, полос"),
      Label11(*this, "Label11", "Амплитуда по теории, полос"),
      Label12(*this, "Label12", "Азимут максимума по модели, град"),
      Label13(*this, "Label13", "Горизонтальная скорость, км/с"),
      Label14(*this, "Label14", "Её азимут, град"),
      Label15(*this, "Label15", "Вертикальная скорость, км/с"),
      Text10(*this, "Text10", ""),
      Text11(*this, "Text11", ""),
      Text12(*this, "Text12", ""),
      Text13(*this, "Text13", ""),
      Text14(*this, "Text14", ""),
      Text15(*this, "Text15", "") {
  layout();
  platform::applyToolTips(*this, form7ToolTips());
  for (platform::TextBox* box : {&Text10, &Text11, &Text12, &Text13, &Text14, &Text15}) {
    box->setReadOnly(true);
  }
  Command2.setEnabled(false);
  Command1.onClick = [this] { compute(); };
  Command2.onClick = [this] { stopRequested_ = true; };
  // Closing stops a computation that is going on first; the window goes when it has ended.
  Command3.onClick = [this] {
    stopRequested_ = true;
    this->app().windows().unload(name());
  };
  Check1.onClick = [this] { drawPlot(); };
  drawPlot();
}

void Form7::layout() {
  Frame1.setGeometry(10, 5, 640, 100);
  for (platform::OptionButton* option : {&Option1, &Option2, &Option3}) {
    option->setContainer("Frame1");
  }
  Option1.setGeometry(10, 20, 620, 24);
  Option2.setGeometry(10, 45, 620, 24);
  Option3.setGeometry(10, 70, 620, 24);
  Label1.setGeometry(665, 10, 260, 22);
  Text1.setGeometry(930, 8, 160, 24);
  Label2.setGeometry(665, 40, 260, 22);
  Text2.setGeometry(930, 38, 160, 24);
  Label3.setGeometry(665, 70, 260, 22);
  Text3.setGeometry(930, 68, 160, 24);
  Command1.setGeometry(10, 112, 160, 28);
  Command2.setGeometry(175, 112, 160, 28);
  Command3.setGeometry(340, 112, 160, 28);
  Check1.setGeometry(510, 114, 330, 24);
  Label4.setGeometry(845, 114, 245, 22);
  const int top = 148;
  Label10.setGeometry(10, top, 250, 22);
  Text10.setGeometry(260, top, 100, 24);
  Label11.setGeometry(370, top, 250, 22);
  Text11.setGeometry(620, top, 100, 24);
  Label12.setGeometry(730, top, 250, 22);
  Text12.setGeometry(980, top, 100, 24);
  Label13.setGeometry(10, top + 30, 250, 22);
  Text13.setGeometry(260, top + 30, 100, 24);
  Label14.setGeometry(370, top + 30, 250, 22);
  Text14.setGeometry(620, top + 30, 100, 24);
  Label15.setGeometry(730, top + 30, 250, 22);
  Text15.setGeometry(980, top + 30, 100, 24);
  Picture1.setGeometry(10, top + 62, 1080, 560);
}

std::optional<Form7::Turn> Form7::readTurn() {
  auto notNumber = [this](const platform::TextBox& box, const char* name) {
    host().messageBox(std::string("Задайте правильно данные: в поле «") + name +
                          "» должно быть число, а не «" + box.text() + "»",
                      Buttons::Ok, kTitle);
  };
  auto whole = [&](const platform::TextBox& box, const char* name, int low,
                   int high) -> std::optional<int> {
    const auto value = common::parseNumber(box.text());
    if (!value || !std::isfinite(*value)) {
      notNumber(box, name);
      return std::nullopt;
    }
    if (*value != std::floor(*value) || *value < low || *value > high) {
      host().messageBox(std::string("Задайте правильно данные: в поле «") + name +
                            "» должно быть целое число от " + std::to_string(low) + " до " +
                            std::to_string(high) + ", а не «" + box.text() + "»",
                        Buttons::Ok, kTitle);
      return std::nullopt;
    }
    return static_cast<int>(*value);
  };
  Turn turn;
  const bool earth = !Option1.value();
  if (earth) {
    const char* name = "Азимут оси x установки, град";
    const auto theta0 = common::parseNumber(Text1.text());
    if (!theta0 || !std::isfinite(*theta0)) {
      notNumber(Text1, name);
      return std::nullopt;
    }
    if (std::abs(*theta0) > 1e6) {
      host().messageBox(std::string("Задайте правильно данные: в поле «") + name + "» значение «" +
                            Text1.text() + "» по модулю больше 1000000",
                        Buttons::Ok, kTitle);
      return std::nullopt;
    }
    turn.theta0 = *theta0;
  }
  const auto positions = whole(Text2, "Положений за оборот", 1, 360);
  if (!positions) return std::nullopt;
  turn.positions = *positions;
  if (earth) {
    const auto moments = whole(Text3, "Моментов за звездные сутки", 1, 96);
    if (!moments) return std::nullopt;
    turn.moments = *moments;
  }
  return turn;
}

std::optional<std::vector<Form7::Moment>> Form7::readMoments(
    const Turn& turn, const experiment::model::RunFields& fields,
    const experiment::model::Options& options) {
  std::vector<Moment> moments;
  if (Option1.value()) {
    // The velocity a run composes of Vss and Vz in the setup's plane; the turn starts with
    // the setup as the fields place it (AlfaV = θ − ψ with θ = 0).
    const double Vx = fields.Vss * 1000 * std::cos(fields.AlfaVss / common::RadToDeg) +
                      fields.Vz * 1000 * std::cos(fields.AlfaVz / common::RadToDeg);
    const double Vy = fields.Vss * 1000 * std::sin(fields.AlfaVss / common::RadToDeg) +
                      fields.Vz * 1000 * std::sin(fields.AlfaVz / common::RadToDeg);
    Moment m;
    m.speed = std::sqrt(Vx * Vx + Vy * Vy);
    m.azimuth = fullTurn(-common::FullAngle(Vx, Vy) * common::RadToDeg);
    moments.push_back(m);
    return moments;
  }
  if (!options.realUnits) {
    host().messageBox("Для скорости Земли выберите Real в окне эксперимента", Buttons::Ok, kTitle);
    return std::nullopt;
  }
  auto* form1 = dynamic_cast<app::Form1*>(app().windows().find("Form1"));
  if (!form1) {
    host().messageBox("Для скорости Земли откройте главное окно", Buttons::Ok, kTitle);
    return std::nullopt;
  }
  auto query = form1->etherWindQuery();
  if (!query) return std::nullopt;
  query->frame = Option3.value() ? astro::EtherFrame::kCmb : astro::EtherFrame::kSun;
  const double start = query->jdut;
  for (int j = 0; j < turn.moments; ++j) {
    query->jdut = start + j * kSiderealDay / turn.moments;
    const auto wind = astro::etherWind(*query);
    if (!wind) {
      host().messageBox("Ошибка решения", Buttons::Ok, kTitle);
      return std::nullopt;
    }
    Moment m;
    m.siderealHour = wind->state.lmst;
    m.speed = wind->horizon.horizontalSpeed;
    m.azimuth = wind->horizon.azimuth ? *wind->horizon.azimuth * common::RadToDeg : 0.0;
    m.up = wind->horizon.up;
    moments.push_back(m);
  }
  return moments;
}

void Form7::compute() {
  if (running_) return;
  auto* form4 = dynamic_cast<experiment::Form4*>(app().windows().find("Form4"));
  if (!form4) {
    host().messageBox("Откройте окно эксперимента: прогноз берет из него установку и поля",
                      Buttons::Ok, kTitle);
    return;
  }
  const auto turn = readTurn();
  if (!turn) return;
  const auto input = form4->runInput();
  if (!input) return;
  const auto moments = readMoments(*turn, input->fields, input->options);
  if (!moments) return;
  runTurn(input->fields, input->options, *moments, *turn);
}

void Form7::runTurn(const experiment::model::RunFields& fields,
                    const experiment::model::Options& options, const std::vector<Moment>& moments,
                    const Turn& turn) {
  std::vector<model::TurnPosition> positions;
  for (std::size_t j = 0; j < moments.size(); ++j) {
    const Moment& m = moments[j];
    for (const model::TurnPosition& p :
         model::turnPositions(turn.positions, turn.theta0, m.speed, m.azimuth, static_cast<int>(j),
                              m.siderealHour)) {
      positions.push_back(p);
    }
  }
  rows_.clear();
  moments_ = moments;
  prism_ = options.prism;
  expected_ = static_cast<int>(positions.size());
  stopRequested_ = false;
  stopped_ = false;
  running_ = true;
  Command1.setEnabled(false);
  Command2.setEnabled(true);
  showRows();

  // The runs go on worker threads; this thread keeps the window live, takes the positions
  // as they finish and passes a stop on (a run hears it at its next refresh).
  const experiment::model::StopWatch closing(common::shared().StopRequested);
  model::ParallelTurn parallel(fields, options, model::classicalArmsOf(fields, options),
                               std::move(positions),
                               std::max(2u, std::thread::hardware_concurrency()));
  auto take = [&] {
    const auto finished = parallel.takeFinished();
    if (finished.empty()) return;
    for (std::size_t index : finished) rows_.push_back(parallel.result(index));
    std::sort(rows_.begin(), rows_.end(), [](const auto& a, const auto& b) {
      return a.position.moment != b.position.moment ? a.position.moment < b.position.moment
                                            : a.position.theta < b.position.theta;
    });
    model::centreShifts(rows_);
    showRows();
  };
  auto end = [&] {
    parallel.stop();
    parallel.join();
    take();
    stopped_ = static_cast<int>(rows_.size()) < expected_;
    running_ = false;
    Command1.setEnabled(true);
    Command2.setEnabled(false);
    showRows();
  };
  try {
    while (!parallel.finished()) {
      parallel.waitForProgress(std::chrono::milliseconds(10));
      take();
      host().doEvents();
      if (stopRequested_ || closing.raised()) parallel.stop();
    }
  } catch (...) {
    // A fault of the event loop ends the computation; the positions finished stay.
    end();
    throw;
  }
  end();
}

void Form7::showRows() {
  Label4.setCaption("Рассчитано положений: " + std::to_string(rows_.size()) + " из " +
                    std::to_string(expected_) + (stopped_ ? " (остановлено)" : ""));
  const model::TurnSummary s = model::summarize(rows_, 0);
  Text10.setText(shown(s.modelAmplitude, "0.000000"));
  Text11.setText(prism_ ? "—" : shown(s.theoryAmplitude, "0.000000"));
  Text12.setText(shown(s.maximumAzimuth, "0.00"));
  if (moments_.empty()) {
    for (platform::TextBox* box : {&Text13, &Text14, &Text15}) box->setText("");
  } else {
    const Moment& m = moments_.front();
    Text13.setText(common::formatNumber(m.speed / 1000, "0.000000"));
    Text14.setText(m.siderealHour ? common::formatNumber(m.azimuth, "0.00") : "—");
    Text15.setText(m.up ? common::formatNumber(*m.up / 1000, "0.000000") : "—");
  }
  drawPlot();
}

void Form7::drawPlot() {
  platform::PlotModel plot;
  plot.yAxis = {"Смещение полос", "полосы", std::nullopt, std::nullopt, 0};
  if (moments_.size() <= 1) {
    plot.title = "Смещение полос за оборот установки";
    plot.xAxis = {"Азимут оси x установки", "град", 0.0, 360.0, 45};
    platform::PlotSeries modelSeries{"Модель: смещение в точке прихода луча 1",
                                     {},
                                     {},
                                     platform::rgb(0, 0, 192),
                                     platform::SeriesStyle::LineAndMarkers};
    platform::PlotSeries theorySeries{
        "Классическая теория", {}, {}, platform::rgb(192, 0, 0), platform::SeriesStyle::Line};
    platform::PlotSeries wholeSeries{"v01·(T1 − T2) всего пути",
                                     {},
                                     {},
                                     platform::rgb(160, 96, 0),
                                     platform::SeriesStyle::LineAndMarkers};
    wholeSeries.marker = platform::MarkerShape::Square;
    double wholeMean = 0;
    int wholeCount = 0;
    for (const model::PositionResult& r : rows_) {
      if (r.arrived()) {
        wholeMean += r.wholePath;
        ++wholeCount;
      }
    }
    if (wholeCount > 0) wholeMean /= wholeCount;
    std::vector<const model::PositionResult*> byAzimuth;
    for (const model::PositionResult& r : rows_) byAzimuth.push_back(&r);
    std::sort(byAzimuth.begin(), byAzimuth.end(), [](const auto* a, const auto* b) {
      return fullTurn(a->position.theta) < fullTurn(b->position.theta);
    });
    for (const model::PositionResult* r : byAzimuth) {
      const double x = fullTurn(r->position.theta);
      modelSeries.x.push_back(x);
      modelSeries.y.push_back(r->modelShift.value_or(kNaN));
      theorySeries.x.push_back(x);
      theorySeries.y.push_back(r->theoryShift.value_or(kNaN));
      wholeSeries.x.push_back(x);
      wholeSeries.y.push_back(r->arrived() ? r->wholePath - wholeMean : kNaN);
    }
    // The turn closes: the position at 0° is drawn again at 360°.
    if (!byAzimuth.empty() && fullTurn(byAzimuth.front()->position.theta) == 0) {
      for (platform::PlotSeries* series : {&modelSeries, &theorySeries, &wholeSeries}) {
        series->x.push_back(360);
        series->y.push_back(series->y.front());
      }
    }
    plot.series.push_back(std::move(modelSeries));
    if (!prism_) plot.series.push_back(std::move(theorySeries));
    if (Check1.ticked()) plot.series.push_back(std::move(wholeSeries));
    plot.bands.push_back({"Майкельсон и Морли, 1887: смещение < 0,02 полосы (ожидалось 0,4)",
                          -kObservedBound, kObservedBound, platform::rgb(0, 160, 0), 64});
  } else {
    plot.title = "Амплитуда смещения полос за звездные сутки";
    plot.xAxis = {"Звездное время", "ч", 0.0, 24.0, 3};
    plot.yAxis = {"Амплитуда", "полосы", std::nullopt, std::nullopt, 0};
    plot.y2Axis = {"Азимут максимума", "град", 0.0, 360.0, 45};
    platform::PlotSeries amplitude{"Амплитуда по модели",
                                   {},
                                   {},
                                   platform::rgb(0, 0, 192),
                                   platform::SeriesStyle::LineAndMarkers};
    platform::PlotSeries theory{"Амплитуда по теории",
                                {},
                                {},
                                platform::rgb(192, 0, 0),
                                platform::SeriesStyle::LineAndMarkers};
    platform::PlotSeries azimuth{"Азимут максимума по модели",
                                 {},
                                 {},
                                 platform::rgb(0, 128, 0),
                                 platform::SeriesStyle::Markers};
    azimuth.axis = platform::AxisSide::Right;
    azimuth.marker = platform::MarkerShape::Diamond;
    std::vector<std::pair<double, model::TurnSummary>> byHour;
    for (std::size_t j = 0; j < moments_.size(); ++j) {
      const model::TurnSummary s = model::summarize(rows_, static_cast<int>(j));
      byHour.emplace_back(moments_[j].siderealHour.value_or(0.0), s);
    }
    std::sort(byHour.begin(), byHour.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [hour, s] : byHour) {
      amplitude.x.push_back(hour);
      amplitude.y.push_back(s.modelAmplitude.value_or(kNaN));
      theory.x.push_back(hour);
      theory.y.push_back(s.theoryAmplitude.value_or(kNaN));
      azimuth.x.push_back(hour);
      azimuth.y.push_back(s.maximumAzimuth.value_or(kNaN));
    }
    plot.series.push_back(std::move(amplitude));
    if (!prism_) plot.series.push_back(std::move(theory));
    plot.series.push_back(std::move(azimuth));
  }
  Picture1.setModel(std::move(plot));
}

std::optional<platform::Results> Form7::results() const {
  if (rows_.empty() && expected_ == 0) return std::nullopt;
  platform::Results results;
  results.title = "Quorvel: прогноз смещения полос";
  platform::ResultTable positions{
      "Положения",
      {"момент", "звездное время, ч", "θ, град", "AlfaV, град", "v_h, м/с", "T1, с", "T2, с",
       "t2, с", "N1", "N2", "v01·(T1 − T2), полос", "смещение по модели, полос",
       "смещение по теории, полос", "примечание"},
      {}};
  for (const model::PositionResult& r : rows_) {
    const bool arrived = r.arrived();
    auto value = [arrived](double v) {
      return arrived ? platform::ResultCell(v) : platform::ResultCell(std::monostate{});
    };
    positions.rows.push_back({static_cast<long long>(r.position.moment), cell(r.position.siderealHour),
                              r.position.theta, r.position.alfaV, r.position.speed, value(r.T1), value(r.T2),
                              cell(r.t2), value(r.N1), value(r.N2), value(r.wholePath),
                              cell(r.modelShift), cell(r.theoryShift),
                              arrived ? std::string() : r.message});
  }
  results.tables.push_back(std::move(positions));
  platform::ResultTable summary{"Итоги по моментам",
                                {"момент", "звездное время, ч", "v_h, м/с", "азимут скорости, град",
                                 "вертикальная скорость, м/с", "амплитуда по модели, полос",
                                 "азимут максимума, град", "амплитуда по теории, полос"},
                                {}};
  for (std::size_t j = 0; j < moments_.size(); ++j) {
    const Moment& m = moments_[j];
    const model::TurnSummary s = model::summarize(rows_, static_cast<int>(j));
    summary.rows.push_back(
        {static_cast<long long>(j), cell(m.siderealHour), m.speed,
         m.siderealHour ? platform::ResultCell(m.azimuth) : platform::ResultCell(std::monostate{}),
         cell(m.up), cell(s.modelAmplitude), cell(s.maximumAzimuth), cell(s.theoryAmplitude)});
  }
  results.tables.push_back(std::move(summary));
  return results;
}

nlohmann::json Form7::data() const {
  nlohmann::json j = nlohmann::json::object();
  j["state"] = running_ ? "running" : stopped_ ? "stopped" : expected_ > 0 ? "done" : "idle";
  j["positions"] = expected_;
  j["computed"] = rows_.size();
  if (const auto r = results()) j["results"] = platform::resultsJson(*r);
  return j;
}

}  // namespace quorvel::forecast
