#include "app/form1.h"

#include <cmath>

#include "app/earth_drawing.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "platform/app.h"

namespace quorvel::app {

using platform::Buttons;

Form1::Form1(platform::App& app)
    : Form(app, "Form1", "Quorvel1     form1    Эксперимент Майкельсона-Морли ", 1180, 590),
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
  const int rowTop[] = {392, 422, 452};
  platform::Label* rowLabels[] = {&Label13, &Label14, &Label15};
  platform::TextBox* rows[3][3] = {
      {&Text13, &Text23, &Text33}, {&Text14, &Text24, &Text34}, {&Text15, &Text25, &Text35}};
  for (int row = 0; row < 3; ++row) {
    rowLabels[row]->setGeometry(10, rowTop[row] + 2, 70, 22);
    for (int column = 0; column < 3; ++column) {
      rows[row][column]->setGeometry(80 + 170 * column, rowTop[row], 160, 24);
    }
  }

  Command11.setGeometry(10, 488, 200, 28);
  Text16.setGeometry(215, 490, 55, 24);
  Label16.setGeometry(272, 492, 40, 22);
  Command12.setGeometry(315, 488, 130, 28);
  Command13.setGeometry(450, 488, 140, 28);
  Command5.setGeometry(10, 522, 180, 28);
  Command6.setGeometry(195, 522, 130, 28);
  Text21.setGeometry(330, 524, 55, 24);
  Check2.setGeometry(10, 556, 380, 24);
  Picture1.setGeometry(610, 10, 560, 560);
}

void Form1::load() {
  Picture1.picture().setBackColor(platform::rgb(255, 255, 255));
  clearPicture();
  auto& shared = common::shared();
  shared.CalendarMode = 0;
  shared.HourOffset = 0.0;
  shared.AngularRate[31] = common::OmegaYear;
  shared.AngularRate[32] = common::OmegaDay;
  Timer1.setInterval(100);
  Timer1.setTimerEnabled(true);
}

void Form1::activate() { common::shared().ML = 30.0 * common::Billion; }

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
}

void Form1::openWindow(const char* name) { app().windows().show(name); }

void Form1::exitProgram() {
  auto& windows = app().windows();
  for (const char* name : {"Form1", "Form2", "Form3", "Form4", "Form6", "Form9"}) {
    windows.requestClose(name);
  }
}

void Form1::clearPicture() { EarthDrawing(Picture1.picture()).clear(); }

}  // namespace quorvel::app
