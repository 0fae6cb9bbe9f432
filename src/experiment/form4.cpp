#include "experiment/form4.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4_tooltips.h"
#include "experiment/parameter_file.h"
#include "experiment/transfer_to_interference.h"
#include "platform/app.h"

namespace quorvel::experiment {

using common::numberText;
using platform::Buttons;

namespace {

// A number written into a field as the runtime writes it.
std::string text(double value) {
  return numberText(value);
}

}  // namespace

Form4::Form4(platform::App& app)
    : Form(app, "Form4", "Quorvel1     form4    Вычислительный эксперимент Майкельсона-Морли ",
           1640, 900),
      Text1(*this, "Text1", "-1"),
      Text66(*this, "Text66", "0"),
      Text67(*this, "Text67", "0"),
      Text2(*this, "Text2", "1"),
      Text3(*this, "Text3", "0,6"),
      Text9(*this, "Text9", "-0,3"),
      Text8(*this, "Text8", "0,5"),
      Label31(*this, "Label31", "X6, м"),
      Text4(*this, "Text4", "121,711069"),
      Text5(*this, "Text5", "58,288931"),
      Text6(*this, "Text6", "135"),
      Text7(*this, "Text7", "135"),
      Text27(*this, "Text27", "0,8"),
      Text28(*this, "Text28", "100"),
      Text69(*this, "Text69", "2"),
      Text30(*this, "Text30", "20"),
      Label6(*this, "Label6", " длина волны L1, м"),
      Text18(*this, "Text18", "0,0065"),
      Text60(*this, "Text60", "0,0065"),
      Text12(*this, "Text12", "30"),
      Text50(*this, "Text50", "3"),
      Text44(*this, "Text44", "90"),
      Text29(*this, "Text29", "0,3"),
      Text41(*this, "Text41", "90"),
      Text11(*this, "Text11", "1,0003"),
      Text22(*this, "Text22", "1,5"),
      Text49(*this, "Text49", "0,05"),
      Text99(*this, "Text99", "1,000304"),
      Text43(*this, "Text43", std::to_string(kDefaultFramesPerSecond)),
      Text19(*this, "Text19", "0,1"),
      Text40(*this, "Text40", "1E-7"),
      Text42(*this, "Text42", ""),
      Text46(*this, "Text46", "1E3"),
      Text53(*this, "Text53", ""),
      Text10(*this, "Text10", "10"),
      Text57(*this, "Text57", "10"),
      Text54(*this, "Text54", "2"),
      Text20(*this, "Text20", "0,001"),
      Text63(*this, "Text63", "0,001"),
      Text21(*this, "Text21", "1"),
      Text39(*this, "Text39", "m3p3_80"),
      Text17(*this, "Text17", "Text17"),
      Text13(*this, "Text13", ""),
      Text15(*this, "Text15", ""),
      Text14(*this, "Text14", ""),
      Text16(*this, "Text16", ""),
      Text23(*this, "Text23", ""),
      Text25(*this, "Text25", ""),
      Text24(*this, "Text24", ""),
      Text26(*this, "Text26", ""),
      Text47(*this, "Text47", ""),
      Text48(*this, "Text48", ""),
      Text31(*this, "Text31", ""),
      Text32(*this, "Text32", ""),
      Text33(*this, "Text33", "0,01"),
      Text34(*this, "Text34", "0,01"),
      Text35(*this, "Text35", ""),
      Text36(*this, "Text36", ""),
      Text37(*this, "Text37", "20"),
      Text38(*this, "Text38", "20"),
      Text51(*this, "Text51", "10"),
      Text52(*this, "Text52", "10"),
      Text61(*this, "Text61", "95"),
      Text62(*this, "Text62", "85"),
      Text71(*this, "Text71", ""),
      Text72(*this, "Text72", ""),
      Text73(*this, "Text73", ""),
      Text74(*this, "Text74", ""),
      Text75(*this, "Text75", ""),
      Text76(*this, "Text76", ""),
      Label43(*this, "Label43", "X1ф1л"),
      Label33(*this, "Label33", "X1ф2л"),
      Label5(*this, "Label5", "X2ф1л"),
      Label39(*this, "Label39", "X2ф2л"),
      Check2(*this, "Check2", "+ движение зеркал", 1),
      Check28(*this, "Check28", "++ Кестр", 0),
      Check29(*this, "Check29", "+++ Хедрик", 0),
      Check8(*this, "Check8", "+ преломление света в движущихся пластинах", 0),
      Check1(*this, "Check1", "+ эффект Доплера ", 1),
      Check12(*this, "Check12", "++ детали с ML=", 0),
      Check19(*this, "Check19", "Auto", 1),
      Check20(*this, "Check20", "++ траектории", 0),
      Check33(*this, "Check33", "++ аналитически", 0),
      Check26(*this, "Check26", "+++ по статическим углам", 0),
      Check4(*this, "Check4", "+ влияние среды на", 1),
      Check21(*this, "Check21", "+ аберрация луча", 1),
      Check22(*this, "Check22", "+ v10=v01", 0),
      Check13(*this, "Check13", " Auto", 1),
      Check5(*this, "Check5", "отчет", 0),
      Check11(*this, "Check11", "анимация", 1),
      Check9(*this, "Check9", "+ фронты", 1),
      Check10(*this, "Check10", "текст", 1),
      Check14(*this, "Check14", "номер пути луча 1", 1),
      Check15(*this, "Check15", "номер пути луча 2", 1),
      Check7(*this, "Check7", "+ сравнительный расчет", 0),
      Check16(*this, "Check16", "+ N1, N2", 1),
      Check6(*this, "Check6", "+ в ИСО", 1),
      Check18(*this, "Check18", "+ 2-й лазер с  L2, м", 0),
      Check27(*this, "Check27", "+его диаметр на экране", 0),
      Check3(*this, "Check3", "+ Alfa3=Alfa3/2", 0),
      Check17(*this, "Check17", "++ Alfa4", 0),
      Check25(*this, "Check25", "+ цилиндр ", 0),
      Check23(*this, "Check23", "Skip", 1),
      Check24(*this, "Check24", "Check24", 0),
      Frame1(*this, "Frame1", "схема"),
      Frame2(*this, "Frame2", "параметры"),
      Frame4(*this, "Frame4", ""),
      Option1(*this, "Option1", "1- Майкельсон", false),
      Option8(*this, "Option8", "2- Кестр", true),
      Option4(*this, "Option4", "Test", true),
      Option7(*this, "Option7", "Real", false),
      Option2(*this, "Option2", "скорость", true),
      Option6(*this, "Option6", "частоту", false),
      Command7(*this, "Command7", "Начать эксперимент"),
      Command2(*this, "Command2", "Остановить"),
      Command3(*this, "Command3", "Продолжить"),
      Command4(*this, "Command4", "Сделать NC0 шагов решения"),
      Command5(*this, "Command5", "Очистить рисунок"),
      Command6(*this, "Command6", "Сохранить рисунок №"),
      Command16(*this, "Command16", "Закрыть форму"),
      Command11(*this, "Command11", "Сохранить размеры и углы в файле"),
      Command12(*this, "Command12", "Загрузить размеры и углы из файла"),
      Command13(*this, "Command13", "Расчет Майкельсона"),
      Command9(*this, "Command9", "Перенести данные на форму расчета интерференции"),
      Command1(*this, "Command1",
               "Моделирование сплошного эффекта Доплера с параметрами полученными при проведение "
               "эксперимента"),
      Command10(*this, "Command10", "Продолжить"),
      Command14(*this, "Command14", "Остановить"),
      Command15(*this, "Command15", "Прогноз смещения полос…"),
      Picture1(*this, "Picture1", 720, 720) {
  layout();
  platform::applyToolTips(*this, form4ToolTips());
  Option1.onClick = [this] { chooseBeamSplitter(); };
  Option8.onClick = [this] { choosePrism(); };
  Option4.onClick = [this] { chooseUnits(model::UnitChoice::Test); };
  Option7.onClick = [this] { chooseUnits(model::UnitChoice::Real); };
  Check5.onClick = [this] { toggleReport(); };
  Command5.onClick = [this] { clearAndRedraw(); };
  Command6.onClick = [this] { savePicture(); };
  Command11.onClick = [this] { saveParameters(); };
  Command12.onClick = [this] { loadParameters(); };
  // Closing stops a run that is going on first, as the close box of the window does.
  Command16.onClick = [this] {
    if (running_) common::shared().StopRequested = 1;
    this->app().windows().unload(name());
  };
  Command7.onClick = [this] {
    if (!running_) continuousLast_ = false;
    startExperiment();
  };
  Command2.onClick = [] { common::shared().StopRequested = 1; };
  Command14.onClick = [] { common::shared().StopRequested = 1; };
  Command3.onClick = [this] { continueExperiment(false); };
  Command4.onClick = [this] { continueExperiment(true); };
  Command13.onClick = [this] { compareWithMichelson(); };
  Command9.onClick = [this] { transferToInterference(*this, state_); };
  Command1.onClick = [this] { startContinuous(); };
  Command10.onClick = [this] { continueAfterStop(); };
  Command15.onClick = [this] { this->app().windows().show("Form7"); };
}

platform::Label& Form4::addCaption(const std::string& field, const std::string& text, int left,
                                   int top, int width) {
  captions_.push_back(std::make_unique<platform::Label>(*this, "Label_" + field, text));
  captions_.back()->setGeometry(left, top + 3, width, 20);
  return *captions_.back();
}

void Form4::layout() {
  Picture1.setGeometry(5, 5, 720, 720);
  // Parameters: rows of label + field cells on the right of the picture.
  constexpr int kLeft = 735;
  constexpr int kRow = 27;
  auto cell = [&](platform::TextBox& field, const char* label, int column, int row,
                  int labelWidth = 95, int fieldWidth = 80) {
    const int x = kLeft + column * 195;
    const int y = 8 + row * kRow;
    addCaption(field.name(), label, x, y, labelWidth);
    field.setGeometry(x + labelWidth, y, fieldWidth, 24);
  };
  cell(Text1, "X1, м", 0, 0);
  cell(Text66, "Y1, м", 1, 0);
  cell(Text67, "X2, м", 2, 0);
  cell(Text2, "Y2, м", 3, 0);
  cell(Text3, "Y4, м", 0, 1);
  cell(Text9, "Y5, м", 1, 1);
  Label31.setGeometry(kLeft + 2 * 195, 8 + kRow + 3, 95, 20);
  Text8.setGeometry(kLeft + 2 * 195 + 95, 8 + kRow, 80, 24);
  cell(Text4, " Alfa1", 0, 2, 60, 115);
  cell(Text5, " Alfa2", 1, 2, 60, 115);
  cell(Text6, " Alfa3", 2, 2, 60, 115);
  cell(Text7, " Alfa4", 3, 2, 60, 115);
  cell(Text27, "ширина зеркал, м", 0, 3, 125, 50);
  cell(Text28, "толщина пластин, мм", 1, 3, 140, 50);
  cell(Text69, " диаметр луча лазера, мм", 2, 3, 170, 50);
  Label6.setGeometry(kLeft, 8 + 4 * kRow + 3, 130, 20);
  Text18.setGeometry(kLeft + 130, 8 + 4 * kRow, 65, 24);
  Check18.setGeometry(kLeft + 200, 8 + 4 * kRow, 160, 24);
  Text60.setGeometry(kLeft + 360, 8 + 4 * kRow, 65, 24);
  Check27.setGeometry(kLeft + 435, 8 + 4 * kRow, 180, 24);
  Text30.setGeometry(kLeft + 615, 8 + 4 * kRow, 60, 24);
  cell(Text12, "  Vs0, км/с", 0, 5);
  cell(Text50, "Vss, км/с", 1, 5);
  cell(Text44, "Alfa(Vss)", 2, 5);
  cell(Text29, "Vz", 0, 6);
  cell(Text41, "Alfa(Vz)", 1, 6);
  cell(Text11, "плотность  среды", 2, 6, 115, 60);
  cell(Text22, "плотность стекла", 3, 6, 115, 60);
  cell(Text19, "Масштаб ML, м/см", 0, 7, 120, 55);
  {
    const int y = 8 + 7 * kRow;
    int x = kLeft + 195;
    addCaption(Text40.name(), "шаг решения, с", x, y, 100);
    Text40.setGeometry(x + 100, y, 60, 24);
    x += 165;
    addCaption(Text42.name(), "* Vs=", x, y, 40);
    Text42.setGeometry(x + 40, y, 95, 24);
    x += 140;
    addCaption(Text46.name(), " * L1 /", x, y, 45);
    Text46.setGeometry(x + 45, y, 50, 24);
    x += 100;
    addCaption(Text53.name(), " =", x, y, 20);
    Text53.setGeometry(x + 20, y, 95, 24);
    addCaption(Text53.name() + "_unit", " * L1", x + 117, y, 40);
  }
  {
    const int y = 8 + 8 * kRow;
    Command4.setGeometry(kLeft, y - 2, 210, 27);
    Text10.setGeometry(kLeft + 215, y, 60, 24);
    addCaption(Text57.name(), "N0 периодов=", kLeft + 290, y, 95);
    Text57.setGeometry(kLeft + 385, y, 50, 24);
    Check12.setGeometry(kLeft + 450, y, 135, 24);
    Text54.setGeometry(kLeft + 585, y, 45, 24);
    addCaption(Text54.name(), " * L1", kLeft + 632, y, 40);
  }
  // The frequencies and the model time: wide enough for their longest texts
  // ("461400041,526004", "0,0000598368000000018").
  {
    const int y = 8 + 9 * kRow;
    addCaption(Text20.name(), " v01=Vs/L1, МГц", kLeft, y, 112);
    Text20.setGeometry(kLeft + 112, y, 130, 24);
    addCaption(Text63.name(), " v02=Vs/L2, МГц", kLeft + 247, y, 112);
    Text63.setGeometry(kLeft + 359, y, 130, 24);
    addCaption(Text17.name(), "T, с", kLeft + 494, y, 35);
    Text17.setGeometry(kLeft + 529, y, 170, 24);
  }

  // The three frames of options.
  const int frameTop = 8 + 10 * kRow + 4;
  Frame1.setGeometry(kLeft, frameTop, 390, 78);
  Option1.setContainer("Frame1");
  Option8.setContainer("Frame1");
  Check25.setContainer("Frame1");
  Text49.setContainer("Frame1");
  Text99.setContainer("Frame1");
  Option1.setGeometry(10, 20, 150, 22);
  Option8.setGeometry(170, 20, 150, 22);
  Check25.setGeometry(10, 48, 100, 22);
  Text49.setGeometry(110, 47, 60, 24);
  addCaption(Text99.name(), "м с n=", 175, 47, 50).setContainer("Frame1");
  Text99.setGeometry(225, 47, 90, 24);
  Frame2.setGeometry(kLeft + 395, frameTop, 170, 78);
  Option4.setContainer("Frame2");
  Option7.setContainer("Frame2");
  Option4.setGeometry(10, 20, 150, 22);
  Option7.setGeometry(10, 46, 150, 22);
  Frame4.setGeometry(kLeft + 570, frameTop, 220, 78);
  Check4.setContainer("Frame4");
  Option2.setContainer("Frame4");
  Option6.setContainer("Frame4");
  Check4.setGeometry(10, 8, 200, 22);
  Option2.setGeometry(10, 30, 150, 22);
  Option6.setGeometry(10, 52, 150, 22);

  // Options in three columns.
  platform::CheckBox* columns[3][10] = {
      {&Check2, &Check28, &Check29, &Check8, &Check1, &Check19, &Check20, &Check33, &Check26,
       &Check21},
      {&Check22, &Check13, &Check5, &Check11, &Check9, &Check10, &Check7, &Check16, &Check6,
       &Check23},
      {&Check3, &Check17, &Check24, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
  };
  const int optionsTop = frameTop + 84;
  const int widths[3] = {330, 230, 220};
  int x = kLeft;
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 10; ++row) {
      if (columns[column][row]) {
        columns[column][row]->setGeometry(x, optionsTop + row * 22, widths[column], 22);
      }
    }
    x += widths[column];
  }

  // The animation's pace beside its box.
  {
    const int x = kLeft + widths[0];
    const int y = optionsTop + 3 * 22;
    Check11.setGeometry(x, y, 100, 22);
    Text43.setGeometry(x + 100, y, 55, 22);
    addCaption(Text43.name(), "кадров/с", x + 158, y - 2, 70);
  }

  // Results.
  const int resultsTop = optionsTop + 10 * 22 + 8;
  struct Result {
    platform::TextBox* field;
    const char* label;
    platform::Label* named = nullptr;  // a label of its own name instead of a caption
  };
  const Result results[7][4] = {
      {{&Text13, "X1"}, {&Text15, "Y1"}, {&Text14, "X2"}, {&Text16, "Y2"}},
      {{&Text23, "VX1"}, {&Text25, "VY1"}, {&Text24, "VX2"}, {&Text26, "VY2"}},
      {{&Text47, nullptr}, {&Text48, nullptr}, {&Text31, "T1"}, {&Text32, "T2"}},
      {{&Text33, "v1/v01"}, {&Text34, "v2/v02"}, {&Text35, "S1"}, {&Text36, "S2"}},
      {{&Text37, "V1"}, {&Text38, "V2"}, {&Text51, "N1"}, {&Text52, "N2"}},
      {{&Text61, "A1"}, {&Text62, "A2"}, {&Text71, "v1/v01"}, {&Text72, "v2/v01"}},
      {{&Text73, "", &Label43},
       {&Text74, "", &Label5},
       {&Text75, "", &Label33},
       {&Text76, "", &Label39}},
  };
  for (int row = 0; row < 7; ++row) {
    for (int column = 0; column < 4; ++column) {
      const Result& result = results[row][column];
      const int cx = kLeft + column * 225;
      const int cy = resultsTop + row * kRow;
      if (result.named) {
        result.named->setGeometry(cx, cy + 3, 50, 20);
        result.field->setGeometry(cx + 50, cy, 170, 24);
      } else if (result.label) {
        addCaption(result.field->name(), result.label, cx, cy, 50);
        result.field->setGeometry(cx + 50, cy, 170, 24);
      } else {
        platform::CheckBox& box = column == 0 ? Check14 : Check15;
        box.setGeometry(cx, cy, 145, 24);
        result.field->setGeometry(cx + 145, cy, 45, 24);
      }
    }
  }

  // Buttons under the picture.
  const int top = 732;
  Command7.setGeometry(5, top, 230, 28);
  Command2.setGeometry(240, top, 150, 28);
  Command3.setGeometry(395, top, 160, 28);
  Command16.setGeometry(560, top, 165, 28);
  Command5.setGeometry(5, top + 33, 230, 28);
  Command6.setGeometry(240, top + 33, 180, 28);
  Text21.setGeometry(425, top + 35, 60, 24);
  Command15.setGeometry(490, top + 33, 235, 28);
  Command11.setGeometry(5, top + 66, 300, 28);
  Text39.setGeometry(310, top + 68, 175, 24);
  Command12.setGeometry(5, top + 99, 300, 28);
  Command13.setGeometry(310, top + 99, 175, 28);
  // The transfer and the continuous experiment under the results.
  Command9.setGeometry(kLeft, 800, 420, 28);
  Command1.setGeometry(kLeft, 833, 790, 28);
  Command10.setGeometry(kLeft, 866, 150, 28);
  Command14.setGeometry(kLeft + 155, 866, 150, 28);
}

void Form4::load() {
  Picture1.picture().setBackColor(platform::rgb(255, 255, 255));
  choosePrism();
}

void Form4::activate() {
  // The main window's date timer stops while the experiment window is in use.
  if (platform::Form* main = app().windows().find("Form1")) {
    if (auto* timer = dynamic_cast<platform::Timer*>(main->find("Timer1"))) {
      if (timer->timerEnabled()) timer->setTimerEnabled(false);
    }
  }
  if (auto scale = common::parseNumber(Text19.text())) common::shared().ML = *scale;
}

std::optional<double> Form4::number(const platform::TextBox& field, const char* name) {
  auto value = common::parseNumber(field.text());
  if (!value) {
    host().messageBox(std::string("Задайте правильно данные: в поле «") + name +
                          "» должно быть число, а не «" + field.text() + "»",
                      Buttons::Ok, "Quorvel");
  }
  return value;
}

bool Form4::clearAndRedraw() {
  struct Field {
    const platform::TextBox& box;
    const char* name;
  };
  const Field fields[] = {
      {Text1, "X1, м"},
      {Text66, "Y1, м"},
      {Text67, "X2, м"},
      {Text2, "Y2, м"},
      {Text3, "Y4, м"},
      {Text27, "ширина зеркал, м"},
      {Text28, "толщина пластин, мм"},
      {Text49, "цилиндр, м"},
      {Text4, "Alfa1"},
      {Text5, "Alfa2"},
      {Text6, "Alfa3"},
      {Text7, "Alfa4"},
      {Text9, "Y5, м"},
      {Text19, "Масштаб ML, м/см"},
      {Text8, Option8.value() ? "Y6, м" : "X6, м"},
  };
  double values[std::size(fields)];
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    auto value = number(fields[i].box, fields[i].name);
    if (!value) return false;
    values[i] = *value;
  }
  if (values[13] == 0.0) {
    host().messageBox("Масштаб ML не может быть равен 0: задайте его в поле «Масштаб ML, м/см»",
                      Buttons::Ok, "Quorvel");
    return false;
  }
  SchemeInput input{};
  input.X1 = values[0];
  input.Y1 = values[1];
  input.X2 = values[2];
  input.Y2 = values[3];
  input.Y4 = values[4];
  input.Y5 = values[12];
  input.screen = values[14];
  input.prism = Option8.value();
  scheme_.mirrorWidth = values[5];
  scheme_.plateThickness = values[6] / 1000.0;
  scheme_.cylinderSize = values[7];
  scheme_.Alfa1 = values[8] / common::RadToDeg;
  scheme_.Alfa2 = values[9] / common::RadToDeg;
  scheme_.Alfa3 = values[10] / common::RadToDeg;
  scheme_.Alfa4 = values[11] / common::RadToDeg;
  scheme_.ML = values[13];
  common::shared().ML = scheme_.ML;
  PrismOptions options{Check3.ticked(), Check17.ticked(), Check25.ticked()};
  auto& shared = common::shared();
  clearAndDrawScheme(Picture1.picture(), shared.X, shared.Y, input, scheme_, options);
  return true;
}

void Form4::chooseBeamSplitter() {
  Label31.setCaption("X6, м");
  Check8.setEnabled(true);
  writePreset(model::setupPreset(model::SetupChoice::BeamSplitter));
  Check33.setValue(0);
  Check33.setEnabled(false);
  Check26.setValue(0);
  Check26.setEnabled(false);
  Option2.setValue(true);
  Option6.setEnabled(false);
  Check16.setValue(0);
  Check16.setEnabled(false);
  clearAndRedraw();
}

void Form4::writePreset(const std::vector<model::PresetValue>& preset) {
  for (const model::PresetValue& p : preset) {
    runField(p.field).setText(p.text ? std::string(p.text) : text(p.value));
  }
}

void Form4::choosePrism() {
  Label31.setCaption("Y6, м");
  Check8.setValue(0);
  Check8.setEnabled(false);
  writePreset(model::setupPreset(model::SetupChoice::Prism, Check3.ticked() && Check17.ticked()));
  Check33.setValue(0);
  Check33.setEnabled(true);
  Check26.setValue(0);
  Check26.setEnabled(true);
  Option6.setEnabled(true);
  Check16.setEnabled(true);
  clearAndRedraw();
}

// What a choice of units writes into the fields: "Test", a slowed-down world in which the
// fronts can be watched, or "Real", with the real speed of light and nanometre wavelengths.
void Form4::chooseUnits(model::UnitChoice units) {
  const model::UnitPreset preset = model::unitPreset(units);
  writePreset(preset.values);
  Label6.setCaption(preset.wavelengthLabel);
  Check18.setCaption(preset.secondLaserCaption);
  clearAndRedraw();
}

void Form4::toggleReport() {
  auto& windows = app().windows();
  if (Check5.ticked()) {
    windows.show("Form9");
    if (platform::Form* report = windows.find("Form9")) {
      if (auto* box = dynamic_cast<platform::PictureBox*>(report->find("picBox"))) {
        box->picture().scale(0, 10.5, 26, 0);
      }
    }
    // Showing the report leaves the experiment window the one in use.
    windows.activate(name());
  } else {
    windows.unload("Form9");
  }
}

void Form4::savePicture() {
  const std::string number = Text21.text();
  const bool plainName = number.find_first_of("/\\") == std::string::npos;
  const auto path = std::filesystem::current_path() / ("Quorvel_4_" + number + ".bmp");
  if (!plainName || !Picture1.picture().save(path.string())) {
    host().messageBox("Ошибка записи в файл", Buttons::Ok, "Quorvel");
  }
}

void Form4::saveParameters() {
  const platform::TextBox* fields[kParameterCount] = {
      &Text1, &Text66, &Text67, &Text2, &Text4, &Text5, &Text6, &Text7, &Text3, &Text8, &Text69};
  const std::string name = Text39.text();
  ParameterValues values{};
  bool good = name.find_first_of("/\\") == std::string::npos;
  for (int i = 0; i < kParameterCount && good; ++i) {
    auto value = common::parseNumber(fields[i]->text());
    good = value && std::fabs(*value) < 9e9;
    if (good) values[i] = *value;
  }
  if (!good) {
    host().messageBox("Задайте правильно данные", Buttons::Ok, "Quorvel");
    return;
  }
  const auto path = host().programFolder() / "Dat" / ("Quorvel_" + name + ".dat");
  // The folder is made on the first save; a file that cannot be made there is told with
  // its path rather than blamed on the data.
  std::error_code folderError;
  std::filesystem::create_directories(path.parent_path(), folderError);
  switch (saveParameterFile(path, values)) {
    case SaveResult::Saved:
      break;
    case SaveResult::CannotOpen:
      host().messageBox("Ошибка записи в файл " + path.string(), Buttons::Ok, "Quorvel1");
      break;
    case SaveResult::WriteFailed:
      host().messageBox("Ошибка записи в файл \\Dat\\Quorvel_" + name + ".dat", Buttons::Ok,
                        "Quorvel1");
      break;
    case SaveResult::NameTooLong:
      host().messageBox(nameTooLongMessage(name, path), Buttons::Ok, "Quorvel1");
      break;
  }
}

void Form4::loadParameters() {
  platform::FileDialogRequest request;
  request.filter = "All Files (*.*)|*.*";
  request.flags = 4100;
  // A cancelled dialog gives an empty name, which then cannot be opened.
  const std::string path = host().openFileDialog(request).value_or("");
  LoadResult result = loadParameterFile(path);
  if (!result.values) {
    if (result.error == LoadError::CannotOpen) {
      host().messageBox("Не могу найти файл " + path, Buttons::Ok, "Quorvel1");
    } else {
      host().messageBox("Ошибка чтения данных из файла " + path, Buttons::Ok, "Quorvel1");
    }
    return;
  }
  platform::TextBox* fields[kParameterCount] = {&Text1, &Text66, &Text67, &Text2, &Text4, &Text5,
                                                &Text6, &Text7,  &Text3,  &Text8, &Text69};
  for (int i = 0; i < kParameterCount; ++i) fields[i]->setText(text((*result.values)[i]));
}

nlohmann::json Form4::data() const {
  const auto& shared = common::shared();
  const model::ExperimentState& s = state_;
  nlohmann::json legs = nlohmann::json::array();
  for (std::size_t k = 0; k <= 30; ++k) {
    legs.push_back({{"k", k},
                    {"T1", s.legs.T1[k]},
                    {"T2", s.legs.T2[k]},
                    {"S1", s.legs.S1[k]},
                    {"S2", s.legs.S2[k]},
                    {"v", s.legs.v[k]},
                    {"received", s.legs.received[k]},
                    {"V1", s.legs.V1[k]},
                    {"V2", s.legs.V2[k]},
                    {"n", s.legs.P21[k]},
                    {"An", s.legs.An[k]},
                    {"Nv", s.legs.Nv[k]},
                    {"done", s.legs.done[k]}});
  }
  // The points the prism run stores at its leg ends, midway between the setup points that
  // bound each leg, as [x, y] in m.
  nlohmann::json reference = nlohmann::json::object();
  for (std::size_t k : {110u, 111u, 114u, 118u, 120u, 124u, 128u}) {
    reference[std::to_string(k)] = {shared.X[k], shared.Y[k]};
  }
  return {{"X", shared.X},
          {"Y", shared.Y},
          {"referencePoints", reference},
          {"fronts", {{s.Xf[1], s.Yf[1]}, {s.Xf[2], s.Yf[2]}}},
          {"arrival", {{s.arrivalX[1], s.arrivalY[1]}, {s.arrivalX[2], s.arrivalY[2]}}},
          {"T", s.T},
          {"P0", s.P0},
          {"c", s.c},
          {"v01", s.v01},
          {"v02", s.v02},
          {"V", s.V},
          {"AlfaV", s.AlfaV},
          {"aimAngle", s.aimAngle},
          {"ii", s.ii},
          {"jj", s.jj},
          {"N1", s.N1},
          {"N2", s.N2},
          {"S1", s.S1},
          {"S2", s.S2},
          {"T1", s.T1},
          {"T2", s.T2},
          {"started", s.started},
          {"legs", legs},
          {"continuous", continuousData()}};
}

}  // namespace quorvel::experiment
