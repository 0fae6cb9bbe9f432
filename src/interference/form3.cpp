#include "interference/form3.h"

#include <cmath>

#include "common/numbers.h"
#include "common/shared.h"
#include "interference/field_reader.h"
#include "interference/form3_tooltips.h"
#include "interference/model/screen_frame.h"
#include "platform/app.h"

namespace quorvel::interference {

using common::numberText;
using platform::Buttons;

namespace {

constexpr char kTitle[] = "Quorvel";
constexpr int kRow = 26;
// The containers show this much of their pictures.
constexpr int kViewWidth = 930;
constexpr int kPictureHeight = 112;
constexpr int kFieldsHeight = 200;
constexpr int kGraphWidth = 1602;
constexpr int kGraphHeight = 262;

// A value cut to k decimals, as the window shows it.
std::string cut(double v, int decimals) {
  return numberText(common::truncateDecimals(v, decimals));
}

// A result that must be finite.
double finite(double v) {
  return common::requireFinite(v, "result");
}

}  // namespace

Form3::Form3(platform::App& app)
    : Form(app, "Form3", "Quorvel1     form3    Расчет интерференционной картины ", 1560, 990),
      Text24(*this, "Text24", "0,001"),
      Text25(*this, "Text25", "1"),
      Text63(*this, "Text63", "1"),
      Text67(*this, "Text67", "1"),
      Text22(*this, "Text22", "0"),
      Text23(*this, "Text23", "0"),
      Text1(*this, "Text1", "85"),
      Text2(*this, "Text2", "95"),
      Text3(*this, "Text3", "1"),
      Text4(*this, "Text4", "1"),
      Text5(*this, "Text5", "1"),
      Text6(*this, "Text6", "1"),
      Text9(*this, "Text9", "10"),
      Text10(*this, "Text10", "10"),
      Text64(*this, "Text64", ""),
      Text65(*this, "Text65", ""),
      Text7(*this, "Text7", "10"),
      Text8(*this, "Text8", "10"),
      Text26(*this, "Text26", "0"),
      Text27(*this, "Text27", "0"),
      Check1(*this, "Check1", "+ X1=X2=0", 0),
      Text28(*this, "Text28", "0,1"),
      Text29(*this, "Text29", "0,1"),
      Text45(*this, "Text45", ""),
      Text39(*this, "Text39", ""),
      Text11(*this, "Text11", ""),
      Text12(*this, "Text12", ""),
      Text15(*this, "Text15", ""),
      Text16(*this, "Text16", ""),
      Text54(*this, "Text54", ""),
      Text55(*this, "Text55", ""),
      Text36(*this, "Text36", ""),
      Text37(*this, "Text37", ""),
      Text79(*this, "Text79", ""),
      Text20(*this, "Text20", ""),
      Text34(*this, "Text34", ""),
      Text18(*this, "Text18", ""),
      Command3(*this, "Command3", "1 - Преобразовать параметры лучей в ИСО"),
      Command16(*this, "Command16", "Закрыть форму"),
      Command1(*this, "Command1", "2 - Начать расчет"),
      Command2(*this, "Command2", "Остановить"),
      Command4(*this, "Command4", "Продолжить"),
      Text40(*this, "Text40", "1E-9"),
      Text33(*this, "Text33", ""),
      Text69(*this, "Text69", "2"),
      Text62(*this, "Text62", ""),
      Text68(*this, "Text68", ""),
      Text56(*this, "Text56", "3"),
      Text41(*this, "Text41", "1"),
      Text32(*this, "Text32", "1E-2"),
      Check6(*this, "Check6", "рисовать график", 0),
      Check5(*this, "Check5", "+ очистить график", 0),
      Check4(*this, "Check4", "+ частота модуляции 1-го", 0),
      Check3(*this, "Check3", "+ 2-го лазеров, МГц ", 0),
      Text30(*this, "Text30", "1000"),
      Text70(*this, "Text70", "1000"),
      Frame4(*this, "Frame4", "формула расчета"),
      Option10(*this, "Option10", "E= E0", false),
      Option9(*this, "Option9", "E= E0*cos(w*t+Q)", false),
      Check7(*this, "Check7", "+ cos", 0),
      Frame1(*this, "Frame1",
             "рассчет начальных фаз двух лучей в точках падения их центров на экран"),
      Option1(*this, "Option1", "N1=N10 N2=N20", false),
      Option2(*this, "Option2", "N1=v01*dT N2=v02*T2", false),
      Option3(*this, "Option3", "N1=N10+v01*dT N2=N20", false),
      Option4(*this, "Option4", "N1=v01*dT N2=0", false),
      Option5(*this, "Option5", "N1=N10-v01*T1+v01*dT N2=N20-v02*T2", false),
      Check8(*this, "Check8", "+ закончить расчет через", 0),
      Text51(*this, "Text51", "20000"),
      Text46(*this, "Text46", "2"),
      Text50(*this, "Text50", "1E-2"),
      Text31(*this, "Text31", std::to_string(kDefaultStepsPerSecond)),
      Check2(*this, "Check2", "+ Stop для i (-250...+250)=", 0),
      Text19(*this, "Text19", "0"),
      Text73(*this, "Text73", ""),
      Text74(*this, "Text74", ""),
      Text57(*this, "Text57", ""),
      Text75(*this, "Text75", ""),
      Text76(*this, "Text76", ""),
      Text38(*this, "Text38", ""),
      Text47(*this, "Text47", ""),
      Text48(*this, "Text48", ""),
      Text80(*this, "Text80", ""),
      Text35(*this, "Text35", ""),
      Text72(*this, "Text72", ""),
      Text77(*this, "Text77", ""),
      Text14(*this, "Text14", ""),
      Text61(*this, "Text61", ""),
      Text49(*this, "Text49", "254"),
      Text43(*this, "Text43", "0"),
      Text44(*this, "Text44", "1"),
      Text58(*this, "Text58", ""),
      Text82(*this, "Text82", ""),
      Text13(*this, "Text13", "0"),
      Check14(*this, "Check14", "+ использовать это B", 0),
      Check9(*this, "Check9", "+ составные полосы", 0),
      Picture2(*this, "Picture2", kViewWidth, kPictureHeight),
      Picture3(*this, "Picture3", kViewWidth, kPictureHeight),
      Picture4(*this, "Picture4", kViewWidth, kPictureHeight),
      Picture8(*this, "Picture8", kViewWidth, kFieldsHeight),
      Picture11(*this, "Picture11", kViewWidth, kGraphHeight),
      Picture5(*this, "Picture5", 500, kPictureHeight),
      Picture6(*this, "Picture6", 500, kPictureHeight),
      Picture7(*this, "Picture7", 500, kPictureHeight),
      Picture9(*this, "Picture9", 500, kFieldsHeight),
      Picture10(*this, "Picture10", kGraphWidth, kGraphHeight),
      HScroll1(*this, "HScroll1", true, 0, 0),
      HScroll2(*this, "HScroll2", true, 0, 0),
      HScroll3(*this, "HScroll3", true, 0, 0),
      HScroll4(*this, "HScroll4", true, 0, 0),
      HScroll5(*this, "HScroll5", true, 0, kGraphWidth - kViewWidth),
      Text59(*this, "Text59", ""),
      Text60(*this, "Text60", ""),
      Command9(*this, "Command9", "Найти Xk - Xn, мкм"),
      Text42(*this, "Text42", "10"),
      Text17(*this, "Text17", ""),
      Text53(*this, "Text53", ""),
      Command8(*this, "Command8", "(Yk - Yn) / (Tk - Tn), Vs"),
      Text71(*this, "Text71", ""),
      Command6(*this, "Command6", "Сохранить рисунок №"),
      Text21(*this, "Text21", "20") {
  Option1.setContainer("Frame1");
  Option2.setContainer("Frame1");
  Option3.setContainer("Frame1");
  Option4.setContainer("Frame1");
  Option5.setContainer("Frame1");
  Option10.setContainer("Frame4");
  Option9.setContainer("Frame4");
  Check7.setContainer("Frame4");
  Option1.setValue(true);
  Option10.setValue(true);
  layout();
  platform::applyToolTips(*this, form3ToolTips());

  Command3.onClick = [this] { transform(); };
  Command1.onClick = [this] { start(); };
  Command2.onClick = [this] { stop(); };
  Command4.onClick = [this] { goOn(); };
  // Closing stops a computation that is going on first.
  Command16.onClick = [this] {
    if (running_) common::shared().StopRequested = 1;
    this->app().windows().unload(name());
  };
  Picture7.onMouseDown = [this](platform::MouseButton button, double x, double) {
    markWidth(button, x);
  };
  Picture10.onMouseDown = [this](platform::MouseButton button, double x, double y) {
    markTime(button, x, y);
  };
  Command9.onClick = [this] { findWidth(); };
  Command8.onClick = [this] { findSpeed(); };
  Command6.onClick = [this] { savePicture(); };
  const std::pair<platform::ScrollBar*, platform::PictureBox*> scrolled[] = {
      {&HScroll1, &Picture5},
      {&HScroll2, &Picture6},
      {&HScroll3, &Picture7},
      {&HScroll4, &Picture9},
      {&HScroll5, &Picture10}};
  for (auto [bar, picture] : scrolled) {
    bar->onChange = [this, bar, picture] { scrollPicture(*picture, *bar); };
  }
}

Form3::~Form3() = default;

platform::Label& Form3::addCaption(const platform::Control& field, const std::string& text,
                                   int left, int top, int width) {
  captions_.push_back(std::make_unique<platform::Label>(*this, "Label_" + field.name(), text));
  captions_.back()->setGeometry(left, top + 3, width, 20);
  if (!field.container().empty()) captions_.back()->setContainer(field.container());
  return *captions_.back();
}

void Form3::layout() {
  const auto cell = [&](platform::TextBox& box, const char* label, int x, int row, int labelWidth,
                        int fieldWidth = 75) {
    const int y = 6 + row * kRow;
    addCaption(box, label, x, y, labelWidth);
    box.setGeometry(x + labelWidth, y, fieldWidth, 23);
  };
  const auto at = [&](platform::Control& control, int x, int row, int width) {
    control.setGeometry(x, 6 + row * kRow, width, 23);
  };
  // The rays in the absolute frame.
  cell(Text24, "Vs, км/с", 5, 0, 70);
  cell(Text25, "v01, МГц", 155, 0, 70);
  cell(Text63, "v02", 305, 0, 45);
  cell(Text67, "L01, мкм", 430, 0, 65, 95);
  cell(Text22, "VXiso, км/с", 5, 1, 80, 100);
  cell(Text23, "VYiso, км/с", 190, 1, 80, 100);
  cell(Text1, "A1", 5, 2, 30, 110);
  cell(Text3, "v1/v01", 150, 2, 50, 110);
  cell(Text5, "V1/Vs", 315, 2, 50, 95);
  cell(Text9, "T1", 465, 2, 25, 100);
  cell(Text2, "A2", 5, 3, 30, 110);
  cell(Text4, "v2/v01", 150, 3, 50, 110);
  cell(Text6, "V2/Vs", 315, 3, 50, 95);
  cell(Text10, "T2", 465, 3, 25, 100);
  cell(Text64, "v01*T1", 5, 4, 55, 90);
  cell(Text65, "v02*T2", 155, 4, 55, 90);
  cell(Text7, "N10", 305, 4, 35, 100);
  cell(Text8, "N20", 445, 4, 35, 110);
  cell(Text26, "X1", 5, 5, 25, 110);
  cell(Text27, "X2", 145, 5, 25, 110);
  at(Check1, 285, 5, 95);
  cell(Text28, "Y1", 385, 5, 25, 70);
  cell(Text29, "Y2", 485, 5, 25, 80);
  cell(Text45, "dT=T2 - T1", 5, 6, 80, 120);
  cell(Text39, "N20 - N10", 210, 6, 75, 120);
  at(Command3, 5, 7, 400);
  // The rays in the screen frame.
  cell(Text11, "A1", 5, 8, 30, 110);
  cell(Text15, "V1/Vs", 150, 8, 50, 110);
  cell(Text54, "Ve1/Vs", 315, 8, 50, 95);
  cell(Text36, "X1", 465, 8, 25, 100);
  cell(Text12, "A2", 5, 9, 30, 110);
  cell(Text16, "V2/Vs", 150, 9, 50, 110);
  cell(Text55, "Ve2/Vs", 315, 9, 50, 95);
  cell(Text37, "X2", 465, 9, 25, 100);
  cell(Text79, "dN(t)=v01*dT", 5, 10, 95, 90);
  cell(Text20, "N1", 195, 10, 25, 90);
  cell(Text34, "N2", 315, 10, 25, 90);
  cell(Text18, "N2-N1", 435, 10, 45, 85);
  // The computation.
  at(Command1, 5, 11, 190);
  at(Command2, 200, 11, 120);
  at(Command4, 325, 11, 120);
  cell(Text40, "шаг решения уравнений, с", 5, 12, 180, 80);
  cell(Text33, "текущее время T, с", 270, 12, 130, 135);
  cell(Text69, "при N / 2=", 5, 13, 75, 35);
  cell(Text62, "и B=", 120, 13, 35, 90);
  addCaption(Text62, "мкм", 247, 6 + 13 * kRow, 30);
  cell(Text68, "ширина картинок B * N, мкм", 280, 13, 190, 90);
  cell(Text56, "интерференция на картинке №", 5, 14, 200, 30);
  cell(Text41, " масштаб, ML= 1 :", 240, 14, 120, 40);
  cell(Text32, "MT, с/см", 405, 14, 70, 60);
  at(Check6, 5, 15, 160);
  at(Check5, 170, 15, 170);
  at(Text31, 345, 15, 60);
  addCaption(Text31, "шагов/с", 410, 6 + 15 * kRow, 70);
  at(Check4, 5, 16, 200);
  at(Text30, 205, 16, 60);
  at(Check3, 270, 16, 170);
  at(Text70, 440, 16, 60);
  Frame4.setGeometry(5, 6 + 17 * kRow, 560, 48);
  Option10.setGeometry(10, 18, 100, 22);
  Option9.setGeometry(120, 18, 180, 22);
  Check7.setGeometry(310, 18, 80, 22);
  Frame1.setGeometry(5, 6 + 19 * kRow, 560, 80);
  Option1.setGeometry(10, 18, 170, 22);
  Option2.setGeometry(190, 18, 180, 22);
  Option3.setGeometry(380, 18, 175, 22);
  Option4.setGeometry(10, 48, 170, 22);
  Option5.setGeometry(190, 48, 300, 22);
  at(Check8, 5, 22, 180);
  at(Text51, 185, 22, 60);
  cell(Text46, " шагов в интервале при", 250, 22, 160, 35);
  cell(Text50, " интервалах через", 5, 23, 125, 60);
  addCaption(Text50, " с", 190, 6 + 23 * kRow, 20);
  at(Check2, 220, 23, 200);
  at(Text19, 420, 23, 50);
  cell(Text73, "N1(i)", 5, 24, 45, 130);
  cell(Text74, "N2(i)", 185, 24, 45, 130);
  cell(Text57, "N2-N1", 365, 24, 50, 120);
  cell(Text75, "dN1", 5, 25, 45, 130);
  cell(Text76, "dN2", 185, 25, 45, 130);
  cell(Text38, "dN=f(x)", 365, 25, 60, 110);
  cell(Text47, "L1= Ve1 / v01=", 5, 26, 105, 170);
  cell(Text48, "L2= Ve2 / v02=", 285, 26, 105, 170);
  cell(Text80, "B(Ve), мкм= L1 * L2 / (L1 - L2)=", 5, 27, 230, 100);
  cell(Text35, "B(Ve), мкм= L1 * L2 / (L1 + L2)=", 5, 28, 230, 100);
  cell(Text72, "A1p", 345, 27, 35, 150);
  cell(Text77, "A2p", 345, 28, 35, 150);
  cell(Text14, "B(Ap), мкм= L0 / (sin(A2p) - sin(A1p))=", 5, 29, 280, 120);
  cell(Text61, "B(Ap), мкм= L0 / (A2p - A1p)=", 5, 30, 280, 120);
  cell(Text49, "Положение полосы в долях значения B(Ap) искать при освещенности = >", 5, 31, 470,
       45);
  cell(Text43, "и в интервале от", 5, 32, 115, 35);
  cell(Text44, "* B  до", 155, 32, 55, 35);
  cell(Text58, " * B =", 245, 32, 45, 90);
  cell(Text82, "Bsr=", 380, 32, 35, 100);
  cell(Text13, "Ф/ Ф0", 5, 33, 45, 130);
  at(Check14, 185, 33, 170);
  at(Check9, 360, 33, 170);
  // The measurements.
  cell(Text59, "Xn=", 5, 34, 30, 80);
  cell(Text60, "Xk=", 115, 34, 30, 80);
  at(Command9, 230, 34, 160);
  at(Text42, 395, 34, 90);
  cell(Text17, "Yn=", 5, 35, 30, 80);
  cell(Text53, "Yk=", 115, 35, 30, 80);
  at(Command8, 230, 35, 190);
  at(Text71, 425, 35, 110);
  at(Command6, 5, 36, 170);
  at(Text21, 180, 36, 50);
  at(Command16, 400, 36, 150);

  // The pictures on the right, each in its container with its scroll bar under it.
  constexpr int kLeft = 610;
  int top = 6;
  const auto place = [&](platform::PictureBox& container, platform::PictureBox& picture,
                         platform::ScrollBar& bar, int height) {
    container.setGeometry(kLeft, top, kViewWidth, height);
    picture.setContainer(container.name());
    picture.setGeometry(0, 0, picture.picture().width(), height);
    bar.setGeometry(kLeft, top + height, kViewWidth, 17);
    top += height + 21;
  };
  place(Picture2, Picture5, HScroll1, kPictureHeight);
  place(Picture3, Picture6, HScroll2, kPictureHeight);
  place(Picture4, Picture7, HScroll3, kPictureHeight);
  place(Picture8, Picture9, HScroll4, kFieldsHeight);
  place(Picture11, Picture10, HScroll5, kGraphHeight);
}

void Form3::scrollPicture(platform::PictureBox& picture, const platform::ScrollBar& bar) {
  picture.move(-bar.value(), 0);
}

void Form3::load() {
  const platform::Color white = platform::rgb(255, 255, 255);
  for (platform::PictureBox* box : {&Picture5, &Picture6, &Picture7, &Picture9, &Picture10}) {
    box->picture().setBackColor(white);
  }
  const std::pair<platform::PictureBox*, const char*> numbered[] = {
      {&Picture5, "№ 1"}, {&Picture6, "№ 2"}, {&Picture7, "№ 3"}};
  for (auto [box, text] : numbered) {
    box->picture().setCurrentX(0);
    box->picture().setCurrentY(0);
    box->picture().print(text);
  }
  // The time marks: without clicks in the graph Tk − Tn is one second.
  Tn_ = 1;
  Tk_ = 2;
}

void Form3::activate() {
  if (platform::Form* main = app().windows().find("Form1")) {
    if (auto* timer = dynamic_cast<platform::Timer*>(main->find("Timer1"))) {
      if (timer->timerEnabled()) timer->setTimerEnabled(false);
    }
  }
}

void Form3::transform() {
  using namespace model;  // the bounds
  FieldReader in(host(), "Введите правильно данные");
  const auto Vs = in.number(Text24, "Vs, км/с", kLeastLightSpeed, kMostLightSpeed);
  const auto v01 = in.number(Text25, "v01, МГц", kLeastFrequency, kMostFrequency);
  const auto v02 = in.number(Text63, "v02, МГц", kLeastFrequency, kMostFrequency);
  const auto VX = in.size(Text22, "VXiso, км/с", kMostScreenSpeed);
  const auto VY = in.size(Text23, "VYiso, км/с", kMostScreenSpeed);
  const auto A1 = in.size(Text1, "A1 в АСО", kMostAngle);
  const auto A2 = in.size(Text2, "A2 в АСО", kMostAngle);
  const auto r1 = in.number(Text3, "v1/v01", kLeastRatio, kMostRatio);
  const auto r2 = in.number(Text4, "v2/v01", kLeastRatio, kMostRatio);
  const auto V1 = in.size(Text5, "V1/Vs в АСО", kMostRatio);
  const auto V2 = in.size(Text6, "V2/Vs в АСО", kMostRatio);
  const auto N10 = in.size(Text7, "N10", kMostPeriods);
  const auto N20 = in.size(Text8, "N20", kMostPeriods);
  const auto T1 = in.size(Text9, "T1", kMostArrivalTime);
  const auto T2 = in.size(Text10, "T2", kMostArrivalTime);
  const auto X1 = in.size(Text26, "X1 в АСО", kMostPosition);
  const auto X2 = in.size(Text27, "X2 в АСО", kMostPosition);
  in.size(Text28, "Y1", kMostPosition);
  in.size(Text29, "Y2", kMostPosition);
  if (in.failed()) return;
  try {
    TransformValues v;
    v.Vs = *Vs * 1000;
    v.v01 = *v01 * 1e6;
    v.v02 = *v02 * 1e6;
    const double VXiso = *VX * 1000;
    const double VYiso = *VY * 1000;
    v.nu1 = *r1 * v.v01;
    v.nu2 = *r2 * v.v01;
    v.N10 = *N10;
    v.N20 = *N20;
    v.T1 = *T1;
    v.T2 = *T2;
    const model::ScreenRay e1 =
        model::toScreenFrame({*A1 / common::RadToDeg, *V1 * v.Vs, *X1, v.T1}, VXiso, VYiso);
    const model::ScreenRay e2 =
        model::toScreenFrame({*A2 / common::RadToDeg, *V2 * v.Vs, *X2, v.T2}, VXiso, VYiso);
    v.X1e = e1.Xe;
    v.X2e = e2.Xe;
    v.A1e = e1.Ae;
    v.A2e = e2.Ae;
    v.V1e = e1.Vr;
    v.V2e = e2.Vr;
    v.Ve1 = e1.Ve;
    v.Ve2 = e2.Ve;
    v.dT = v.T2 - v.T1;
    // The values are the window's as soon as they are computed; a field that cannot show
    // its result stops the writing there.
    values_ = v;
    auto& rate = common::shared().AngularRate;
    rate[10] = 2 * common::Pi * v.v01;
    rate[20] = 2 * common::Pi * v.v02;
    rate[1] = 2 * common::Pi * v.nu1;
    rate[2] = 2 * common::Pi * v.nu2;

    Text54.setText(cut(finite(v.Ve1 / v.Vs), 6));
    Text55.setText(cut(finite(v.Ve2 / v.Vs), 6));
    Text11.setText(numberText(finite(v.A1e * common::RadToDeg)));
    Text12.setText(numberText(finite(v.A2e * common::RadToDeg)));
    Text15.setText(numberText(finite(v.V1e / v.Vs)));
    Text16.setText(numberText(finite(v.V2e / v.Vs)));
    Text36.setText(cut(finite(v.X1e), 12));
    Text37.setText(cut(finite(v.X2e), 12));
    Text45.setText(numberText(finite(v.dT)));
    Text20.setText(cut(v.N10, 6));
    Text34.setText(cut(v.N20, 6));
    Text39.setText(cut(finite(v.N20 - v.N10), 6));
    Text79.setText(cut(finite(v.v01 * v.dT), 6));
  } catch (const std::exception&) {
    host().messageBox("Введите правильно данные", Buttons::Ok, kTitle);
  }
}

nlohmann::json Form3::data() const {
  const TransformValues& v = values_;
  nlohmann::json out = {{"Vs", v.Vs},   {"v01", v.v01}, {"v02", v.v02}, {"nu1", v.nu1},
                        {"nu2", v.nu2}, {"V1e", v.V1e}, {"V2e", v.V2e}, {"Ve1", v.Ve1},
                        {"Ve2", v.Ve2}, {"X1e", v.X1e}, {"X2e", v.X2e}, {"N10", v.N10},
                        {"N20", v.N20}, {"T1", v.T1},   {"T2", v.T2},   {"dT", v.dT},
                        {"A1e", v.A1e}, {"A2e", v.A2e}, {"Tn", Tn_},    {"Tk", Tk_},
                        {"ic", ic_}};
  if (run_) {
    const model::StartValues& s = run_->start();
    out["start"] = {{"B", s.B},     {"L0", s.L0},   {"L1", s.L1}, {"L2", s.L2},
                    {"A1p", s.A1p}, {"A2p", s.A2p}, {"N1", s.N1}, {"N2", s.N2}};
    out["run"] = {
        {"k", run_->interval()}, {"T", run_->T()},        {"stepsDrawn", run_->stepsDrawn()},
        {"S_int", run_->Sint()}, {"S_sum", run_->Ssum()}, {"found", run_->found()},
        {"ic", run_->ic()}};
    out["lastIntensities"] = run_->lastIntensities();
  }
  return out;
}

}  // namespace quorvel::interference
