#include "app/form1.h"

#include <cmath>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <variant>

#include "app/earth_drawing.h"
#include "app/form1_tooltips.h"
#include "astro/date_fields.h"
#include "astro/ether_wind.h"
#include "astro/ut_text.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "platform/app.h"

namespace quorvel::app {

using platform::Buttons;

namespace {

constexpr char kTitle[] = "Quorvel";
constexpr char kBadDate[] = "Введите правильно дату";

// A value shown to 6 decimals: truncated toward zero, then in the default form.
std::string sixDecimals(double v) {
  return common::numberText(common::truncateDecimals(v, 6));
}

// The time zone field's text of an offset from UTC: "+3", "0", "-5", "+5,5".
std::string zoneText(int utcOffsetSeconds) {
  const std::string hours = common::numberText(utcOffsetSeconds / 3600.0);
  return utcOffsetSeconds > 0 ? "+" + hours : hours;
}

}  // namespace

Form1::Form1(platform::App& app)
    : Form(app, "Form1", "Quorvel1     form1    Эксперимент Майкельсона-Морли ", 1180, 700),
      Command1(*this, "Command1", "Вычислительный эксперимент на модели"),
      Command9(*this, "Command9", "Моделирование интерференции"),
      Command18(*this, "Command18", "Просмотр фото и видео файлов"),
      Command2(*this, "Command2", "About"),
      Command16(*this, "Command16", "Выход"),
      Command10(*this, "Command10", "Включить таймер даты"),
      Command8(*this, "Command8", "Выключить"),
      Command3(*this, "Command3", "Задать интервал таймеру, с"),
      Text20(*this, "Text20", "1"),
      Timer1(*this, "Timer1", 100, true),
      Label2(*this, "Label2", "Дата"),
      Text2(*this, "Text2"),
      Label3(*this, "Label3", "время LT"),
      Text3(*this, "Text3"),
      Label5(*this, "Label5", "часовой пояс"),
      Text5(*this, "Text5", "+3"),
      Label6(*this, "Label6", "долгота obs"),
      Text6(*this, "Text6", "44,5"),
      Label7(*this, "Label7", " широта obs"),
      Text7(*this, "Text7", "48,7"),
      Label4(*this, "Label4", "JDut (юлианская дата)"),
      Text4(*this, "Text4"),
      Check1(*this, "Check1", "ET-UT, мин"),
      Text8(*this, "Text8"),
      Label9(*this, "Label9", "GMST"),
      Text9(*this, "Text9"),
      Label10(*this, "Label10", "LMST"),
      Text10(*this, "Text10"),
      Label18(*this, "Label18", "Дата"),
      Text18(*this, "Text18"),
      Label19(*this, "Label19", "время UT"),
      Text19(*this, "Text19"),
      Label12(*this, "Label12", "AlfaGelioGeo"),
      Text12(*this, "Text12"),
      Label22(*this, "Label22", " BettaGelioGeo"),
      Text22(*this, "Text22"),
      Label30(*this, "Label30", " AlfaGeoObs"),
      Text30(*this, "Text30"),
      Label32(*this, "Label32", " BettaGeoObs"),
      Text32(*this, "Text32"),
      Label29(*this, "Label29", "Vgeo (эклиптическая), м/с"),
      Text29(*this, "Text29"),
      Label31(*this, "Label31", "Vobs (экваториальная), м/с"),
      Text31(*this, "Text31"),
      Label41(*this, "Label41", "орбитальная"),
      Label42(*this, "Label42", "+ вращение"),
      Label43(*this, "Label43", "= сумма"),
      Label13(*this, "Label13", "VX, м/с"),
      Text13(*this, "Text13"),
      Text23(*this, "Text23"),
      Text33(*this, "Text33"),
      Label14(*this, "Label14", "VY, м/с"),
      Text14(*this, "Text14"),
      Text24(*this, "Text24"),
      Text34(*this, "Text34"),
      Label15(*this, "Label15", "VZ, м/с"),
      Text15(*this, "Text15"),
      Text25(*this, "Text25"),
      Text35(*this, "Text35"),
      Check3(*this, "Check3", "+ точная эфемерида Земли"),
      Frame1(*this, "Frame1", "эфир"),
      Option1(*this, "Option1", "эфир покоится относительно Солнца", true),
      Option2(*this, "Option2", "эфир покоится относительно реликтового излучения"),
      Label44(*this, "Label44", "Эфирный ветер в месте наблюдения (скорость установки):"),
      Label36(*this, "Label36", "Vгор, км/с"),
      Text36(*this, "Text36"),
      Label37(*this, "Label37", "азимут, °"),
      Text37(*this, "Text37"),
      Label38(*this, "Label38", "Vверт, км/с"),
      Text38(*this, "Text38"),
      Command4(*this, "Command4", "Показать текущее положение Земли"),
      Command11(*this, "Command11", "Начать движение с шагом "),
      Text16(*this, "Text16", "0,1"),
      Label16(*this, "Label16", " час"),
      Command12(*this, "Command12", "Остановить"),
      Command13(*this, "Command13", "Продолжить"),
      Command5(*this, "Command5", "Очистить рисунок"),
      Command6(*this, "Command6", "Сохранить с №"),
      Text21(*this, "Text21", "10"),
      Check2(*this, "Check2", "не стирать существующее изображение"),
      Picture1(*this, "Picture1", 560, 560) {
  layout();
  platform::applyToolTips(*this, form1ToolTips());
  Command1.onClick = [this] {
    Timer1.setTimerEnabled(false);
    auto& shared = common::shared();
    for (int k = 0; k <= 77; ++k) shared.X[k] = shared.Y[k] = 0.0;
    openWindow("Form4");
  };
  Command9.onClick = [this] {
    Timer1.setTimerEnabled(false);
    openWindow("Form3");
  };
  Command18.onClick = [this] {
    Timer1.setTimerEnabled(false);
    openWindow("Form6");
  };
  Command2.onClick = [this] { openWindow("Form2"); };
  Command16.onClick = [this] { exitProgram(); };
  Command10.onClick = [this] { Timer1.setTimerEnabled(true); };
  Command8.onClick = [this] { Timer1.setTimerEnabled(false); };
  Command3.onClick = [this] { setTimerInterval(); };
  Timer1.onTick = [this] { timerTick(); };
  Command5.onClick = [this] { clearPicture(); };
  Command4.onClick = [this] { showPosition(); };
  Command11.onClick = [this] { runMotion(); };
  Command12.onClick = [] { common::shared().StopRequested = 1; };
  Command13.onClick = [this] { continueMotion(); };
  Command6.onClick = [this] { savePicture(); };
  Check3.onClick = [this] { choiceChanged(); };
  Option1.onClick = [this] { choiceChanged(); };
  Option2.onClick = [this] { choiceChanged(); };
}

void Form1::layout() {
  Command1.setGeometry(10, 10, 290, 28);
  Command9.setGeometry(305, 10, 285, 28);
  Command18.setGeometry(10, 42, 290, 28);
  Command2.setGeometry(305, 42, 140, 28);
  Command16.setGeometry(450, 42, 140, 28);
  Command10.setGeometry(10, 80, 175, 28);
  Command8.setGeometry(190, 80, 95, 28);
  Command3.setGeometry(290, 80, 230, 28);
  Text20.setGeometry(525, 82, 65, 24);

  Label2.setGeometry(10, 118, 40, 22);
  Text2.setGeometry(50, 116, 100, 24);
  Label3.setGeometry(160, 118, 65, 22);
  Text3.setGeometry(225, 116, 80, 24);
  Label5.setGeometry(315, 118, 95, 22);
  Text5.setGeometry(410, 116, 50, 24);
  Label6.setGeometry(10, 148, 85, 22);
  Text6.setGeometry(95, 146, 80, 24);
  Label7.setGeometry(185, 148, 85, 22);
  Text7.setGeometry(270, 146, 80, 24);
  Check1.setGeometry(360, 146, 110, 24);
  Text8.setGeometry(470, 146, 120, 24);
  Label4.setGeometry(10, 178, 160, 22);
  Text4.setGeometry(170, 176, 170, 24);
  Command4.setGeometry(345, 174, 245, 28);

  Label9.setGeometry(10, 208, 50, 22);
  Text9.setGeometry(60, 206, 120, 24);
  Label10.setGeometry(190, 208, 50, 22);
  Text10.setGeometry(240, 206, 120, 24);
  Label18.setGeometry(10, 238, 40, 22);
  Text18.setGeometry(50, 236, 100, 24);
  Label19.setGeometry(160, 238, 65, 22);
  Text19.setGeometry(225, 236, 100, 24);
  Label12.setGeometry(10, 268, 110, 22);
  Text12.setGeometry(120, 266, 160, 24);
  Label22.setGeometry(290, 268, 110, 22);
  Text22.setGeometry(400, 266, 160, 24);
  Label30.setGeometry(10, 298, 110, 22);
  Text30.setGeometry(120, 296, 160, 24);
  Label32.setGeometry(290, 298, 110, 22);
  Text32.setGeometry(400, 296, 160, 24);
  Label29.setGeometry(10, 328, 190, 22);
  Text29.setGeometry(200, 326, 160, 24);
  Label31.setGeometry(10, 358, 190, 22);
  Text31.setGeometry(200, 356, 160, 24);
  platform::Label* columnLabels[] = {&Label41, &Label42, &Label43};
  for (int column = 0; column < 3; ++column) {
    columnLabels[column]->setGeometry(80 + 170 * column, 388, 160, 22);
  }
  const int rowTop[] = {412, 442, 472};
  platform::Label* rowLabels[] = {&Label13, &Label14, &Label15};
  platform::TextBox* rows[3][3] = {
      {&Text13, &Text23, &Text33}, {&Text14, &Text24, &Text34}, {&Text15, &Text25, &Text35}};
  for (int row = 0; row < 3; ++row) {
    rowLabels[row]->setGeometry(10, rowTop[row] + 2, 70, 22);
    for (int column = 0; column < 3; ++column) {
      rows[row][column]->setGeometry(80 + 170 * column, rowTop[row], 160, 24);
    }
  }

  Command11.setGeometry(10, 510, 200, 28);
  Text16.setGeometry(215, 512, 55, 24);
  Label16.setGeometry(272, 514, 40, 22);
  Command12.setGeometry(315, 510, 130, 28);
  Command13.setGeometry(450, 510, 140, 28);
  Command5.setGeometry(10, 546, 180, 28);
  Command6.setGeometry(195, 546, 130, 28);
  Text21.setGeometry(330, 548, 55, 24);
  Check2.setGeometry(10, 582, 380, 24);
  Picture1.setGeometry(610, 10, 560, 560);

  Label44.setGeometry(10, 616, 590, 22);
  Label36.setGeometry(10, 644, 80, 22);
  Text36.setGeometry(90, 642, 110, 24);
  Label37.setGeometry(210, 644, 75, 22);
  Text37.setGeometry(285, 642, 110, 24);
  Label38.setGeometry(405, 644, 80, 22);
  Text38.setGeometry(485, 642, 105, 24);
  Check3.setGeometry(610, 580, 300, 24);
  Frame1.setGeometry(610, 606, 560, 78);
  Option1.setContainer("Frame1");
  Option2.setContainer("Frame1");
  Option1.setGeometry(10, 22, 540, 22);
  Option2.setGeometry(10, 48, 540, 22);
}

void Form1::load() {
  Picture1.picture().setBackColor(platform::rgb(255, 255, 255));
  clearPicture();
  auto& shared = common::shared();
  shared.CalendarMode = 0;
  shared.HourOffset = 0.0;
  shared.AngularRate[31] = common::OmegaYear;
  shared.AngularRate[32] = common::OmegaDay;
  // The zone starts at the computer's own offset from UTC, so that the clock's local time
  // gives the true UT.
  Text5.setText(zoneText(host().localTime().utcOffsetSeconds));
  Timer1.setInterval(100);
  Timer1.setTimerEnabled(true);
}

void Form1::activate() {
  common::shared().ML = 30.0 * common::Billion;
}

void Form1::setTimerInterval() {
  // The timer accepts whole milliseconds from 1 up to a day.
  constexpr double kLongest = 86400.0;
  auto seconds = common::parseNumber(Text20.text());
  if (!seconds || !(*seconds * 1000.0 >= 0.5) || *seconds > kLongest) {
    host().messageBox(
        "Интервал таймера не изменен: введите число секунд от 0,001 до 86400 (например, 0,5).",
        Buttons::Ok, "Quorvel");
    return;
  }
  Timer1.setInterval(static_cast<int>(std::lround(*seconds * 1000.0)));
}

void Form1::timerTick() {
  Text2.setText(host().dateText());
  Text3.setText(host().timeText());
  readDateFields(true);
}

void Form1::openWindow(const char* name) {
  if (!app().windows().show(name)) {
    host().messageBox(std::string("Окно ") + name + " в этой версии программы еще недоступно",
                      Buttons::Ok, kTitle);
  }
}

void Form1::exitProgram() {
  auto& windows = app().windows();
  for (const char* name : {"Form1", "Form2", "Form3", "Form4", "Form6", "Form7", "Form9"}) {
    windows.requestClose(name);
  }
}

void Form1::clearPicture() {
  EarthDrawing(Picture1.picture()).clear();
}

bool Form1::readDateFields(bool byTimer) {
  auto& shared = common::shared();
  const auto read = astro::readDateFields(
      {Text2.text(), Text3.text(), Text5.text(), Text6.text(), Text7.text()}, shared.HourOffset);
  if (const auto* error = std::get_if<astro::DateError>(&read)) {
    if (*error == astro::DateError::kBadDateFields) {
      // A bad field is told once by the timer, not at every tick while it stays bad.
      if (!byTimer || !timerFaultShown_) {
        host().messageBox(astro::dateErrorMessage(*error), Buttons::Ok,
                          astro::dateErrorTitle(*error));
      }
      timerFaultShown_ = timerFaultShown_ || byTimer;
      return false;
    }
    // The conversion's own fault: its message, a stop of the long loops, and 0 taken as
    // the Julian date of the local moment; the fields themselves did read.
    host().messageBox(astro::dateErrorMessage(*error), Buttons::Ok, astro::dateErrorTitle(*error));
    if (astro::dateErrorStops(*error)) shared.StopRequested = 1;
    TimeZone = common::parseNumber(Text5.text()).value_or(0.0);
    LonObs = common::parseNumber(Text6.text()).value_or(0.0);
    LatObs = common::parseNumber(Text7.text()).value_or(0.0);
    JDut = 0.0 - TimeZone / 24.0;
  } else {
    const auto& fields = std::get<astro::DateFields>(read);
    TimeZone = fields.timeZone;
    LonObs = fields.lonObs;
    LatObs = fields.latObs;
    JDut = fields.jdut;
  }
  timerFaultShown_ = false;
  dateRead_ = true;
  Text4.setText(common::numberText(JDut));
  JDcur = JDut;
  return true;
}

std::optional<astro::EtherWindQuery> Form1::etherWindQuery() {
  const auto read =
      astro::readDateFields({Text2.text(), Text3.text(), Text5.text(), Text6.text(), Text7.text()},
                            common::shared().HourOffset);
  if (const auto* error = std::get_if<astro::DateError>(&read)) {
    host().messageBox(astro::dateErrorMessage(*error), Buttons::Ok, astro::dateErrorTitle(*error));
    return std::nullopt;
  }
  const auto& fields = std::get<astro::DateFields>(read);
  return astro::EtherWindQuery{
      fields.jdut,
      Check1.ticked(),
      fields.lonObs,
      fields.latObs,
      Check3.ticked() ? astro::Ephemeris::kErfa : astro::Ephemeris::kElements,
      astro::EtherFrame::kSun};
}

void Form1::showUtDateTime() {
  const auto text = astro::utDateTimeText(JDut, common::shared().HourOffset);
  if (const auto* error = std::get_if<astro::DateError>(&text)) {
    host().messageBox(astro::dateErrorMessage(*error), Buttons::Ok, astro::dateErrorTitle(*error));
    if (astro::dateErrorStops(*error)) common::shared().StopRequested = 1;
    return;
  }
  const auto& ut = std::get<astro::UtText>(text);
  Text18.setText(ut.date);
  Text19.setText(ut.time);
}

void Form1::computeAndDraw() {
  const astro::EtherWindQuery query{
      JDut,
      Check1.ticked(),
      LonObs,
      LatObs,
      Check3.ticked() ? astro::Ephemeris::kErfa : astro::Ephemeris::kElements,
      Option2.value() ? astro::EtherFrame::kCmb : astro::EtherFrame::kSun};
  const auto wind = astro::etherWind(query);
  if (!wind) throw common::ArithmeticError("the position of the moment is not finite");
  const astro::ApparatusState* state = &wind->state;
  const astro::EarthState& earth = state->earth;
  const astro::ObserverState& observer = state->observer;
  constexpr double kDeg = common::RadToDeg;

  DeltaT = state->deltaT;
  Text8.setText(sixDecimals(DeltaT / 60.0));
  JDcur = state->jdcur;
  GMST = state->gmst;
  LMST = state->lmst;
  Vgeo = earth.speed;
  Vobs = observer.rotationSpeed;
  astro::storeInShared(*state, common::shared());

  Text12.setText(common::numberText(earth.longitude * kDeg));
  // The elements show their inclination, the ephemeris the Earth's own latitude.
  const bool precise = state->ephemeris == astro::Ephemeris::kErfa;
  Text22.setText(sixDecimals((precise ? earth.latitude : earth.elements.inclination) * kDeg));
  Text13.setText(sixDecimals(earth.velocity.x));
  Text14.setText(sixDecimals(earth.velocity.y));
  Text15.setText(sixDecimals(earth.velocity.z));
  Text9.setText(sixDecimals(GMST));
  Text10.setText(sixDecimals(LMST));
  Text30.setText(common::numberText(observer.longitude * kDeg));
  Text32.setText(sixDecimals(observer.latitude * kDeg));
  Text29.setText(common::numberText(Vgeo));
  Text31.setText(common::numberText(Vobs));
  Text23.setText(sixDecimals(observer.rotationVelocity.x));
  Text24.setText(sixDecimals(observer.rotationVelocity.y));
  Text25.setText(sixDecimals(observer.rotationVelocity.z));
  Text33.setText(sixDecimals(state->velocity.x));
  Text34.setText(sixDecimals(state->velocity.y));
  Text35.setText(sixDecimals(state->velocity.z));
  const astro::HorizonVelocity& horizon = wind->horizon;
  WindEast = horizon.east;
  WindNorth = horizon.north;
  WindUp = horizon.up;
  Text36.setText(sixDecimals(horizon.horizontalSpeed / 1000.0));
  Text37.setText(horizon.azimuth ? sixDecimals(*horizon.azimuth * kDeg) : "—");
  Text38.setText(sixDecimals(horizon.up / 1000.0));
  showEphemerisToolTips(state->outsideCenturies);
  shown_ = true;

  EarthDrawing(Picture1.picture()).drawPosition(*state, common::shared().ML, Check2.ticked());
}

void Form1::showPosition() {
  // While the timer runs, its last tick has read the fields; before the first reading the
  // fields are read here too, so that the moment is never one the user did not give.
  if ((!Timer1.timerEnabled() || !dateRead_) && !readDateFields()) return;
  try {
    computeAndDraw();
  } catch (const std::exception&) {
    host().messageBox(kBadDate, Buttons::Ok, kTitle);
  }
}

void Form1::choiceChanged() {
  showEphemerisToolTips(false);
  if (!shown_ || moving_) return;
  try {
    computeAndDraw();
  } catch (const std::exception&) {
    host().messageBox(kBadDate, Buttons::Ok, kTitle);
  }
}

void Form1::showEphemerisToolTips(bool outsideCenturies) {
  platform::applyToolTips(*this, form1EarthToolTips(Check3.ticked(), outsideCenturies));
}

void Form1::runMotion() {
  if (moving_) return;
  moving_ = true;
  try {
    motionLoop();
  } catch (...) {
    moving_ = false;
    throw;
  }
  moving_ = false;
}

void Form1::motionLoop() {
  Timer1.setTimerEnabled(false);
  auto& shared = common::shared();
  shared.StopRequested = 0;
  for (;;) {
    // The step is read at every pass, so it can be changed while the Earth moves.
    const auto step = common::parseNumber(Text16.text());
    if (!step) {
      host().messageBox("Шаг движения не число: введите шаг в часах (например, 0,1).", Buttons::Ok,
                        kTitle);
      break;
    }
    JDut += *step / 24.0;
    JDcur = JDlast = JDut;
    Text4.setText(common::numberText(JDut));
    showUtDateTime();
    try {
      computeAndDraw();
    } catch (const std::exception&) {
      host().messageBox("Ошибка решения", Buttons::Ok, kTitle);
      break;
    }
    if (shared.StopRequested == 1) break;
    if (host().doEvents() < 1) break;
  }
}

void Form1::continueMotion() {
  if (moving_) return;
  common::shared().StopRequested = 0;
  JDut = JDlast;
  runMotion();
}

void Form1::savePicture() {
  bool saved = false;
  try {
    // The number names a file of the current folder, never a path elsewhere.
    const bool plainName = Text21.text().find_first_of("/\\") == std::string::npos;
    const std::filesystem::path file =
        std::filesystem::current_path() / ("Quorvel_1_" + Text21.text() + ".bmp");
    saved = plainName && Picture1.picture().save(file.string());
  } catch (const std::exception&) {
    saved = false;
  }
  if (!saved) host().messageBox("Ошибка записи в файл", Buttons::Ok, kTitle);
}

nlohmann::json Form1::data() const {
  const auto& shared = common::shared();
  auto elements = [](const auto& values, std::initializer_list<int> indices) {
    nlohmann::json out = nlohmann::json::object();
    for (int k : indices) out[std::to_string(k)] = values[static_cast<std::size_t>(k)];
    return out;
  };
  return {
      {"JDut", JDut},
      {"JDcur", JDcur},
      {"JDlast", JDlast},
      {"DeltaT", DeltaT},
      {"GMST", GMST},
      {"LMST", LMST},
      {"TimeZone", TimeZone},
      {"LonObs", LonObs},
      {"LatObs", LatObs},
      {"X", elements(shared.X, {0, 3, 12, 16})},
      {"Y", elements(shared.Y, {0, 3, 12, 16})},
      {"Z", elements(shared.Z, {0, 3, 12, 16})},
      {"VX", elements(shared.VX, {3, 23, 33})},
      {"VY", elements(shared.VY, {3, 23, 33})},
      {"VZ", elements(shared.VZ, {3, 23, 33})},
      {"Vgeo", Vgeo},
      {"Vobs", Vobs},
      {"Ephemeris", Check3.ticked() ? "ERFA" : "elements"},
      {"EtherFrame", Option2.value() ? "CMB" : "Sun"},
      {"EtherWind", {{"east", WindEast}, {"north", WindNorth}, {"up", WindUp}}},
  };
}

}  // namespace quorvel::app
