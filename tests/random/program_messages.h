// The closed list of the program's message boxes: every text a window may show, with its
// title and buttons. "{}" stands for a part the program fills in (a field's name or text, a
// path, a number, a report); everything else must stand exactly as written, "\r\n" included.
//
// A handler that lets a fault escape is caught by the window's last guard ("Ошибка: " and
// the fault's own text); that guard is not in this list, so a random sequence that reaches
// it fails.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"

namespace quorvel::random_input {

struct ProgramMessage {
  const char* title;
  platform::Buttons buttons;
  const char* text;  // with "{}" for the filled-in parts
};

inline const std::vector<ProgramMessage>& programMessages() {
  using platform::Buttons;
  constexpr Buttons Ok = Buttons::Ok;
  constexpr Buttons YesNo = Buttons::YesNo;
  static const std::vector<ProgramMessage> list = {
      // The main window: the date, the timer, the Earth's motion, saving.
      {"Quorvel", Ok, "Введите правильно дату"},
      {"Kelmar7.0", Ok, "Введите правильно дату"},
      {"Kelmar7.0", Ok, "Введите правильно юлианскую дату"},
      {"Quorvel", Ok,
       "Интервал таймера не изменен: введите число секунд от 0,001 до 86400 (например, 0,5)."},
      {"Quorvel", Ok, "Шаг движения не число: введите шаг в часах (например, 0,1)."},
      {"Quorvel", Ok, "Ошибка решения"},
      {"Quorvel", Ok, "Окно {} в этой версии программы еще недоступно"},
      // Saving pictures, parameters and reports.
      {"Quorvel", Ok, "Ошибка записи в файл"},
      {"Quorvel", Ok, "Ошибка записи в файл {}"},
      {"Quorvel1", Ok, "Ошибка записи в файл {}"},
      {"Quorvel1", Ok,
       "Ошибка записи в файл {}: имя файла длиной {} байт слишком длинное, файловая система "
       "допускает не более {} байт (в поле имени — не более {} байт, буква кириллицы занимает 2 "
       "байта)"},
      {"Quorvel", Ok, "Отчет сохраняется в файл .png, .csv или .json, а не {}"},
      {"Quorvel", Ok, "Задайте правильно данные"},
      {"Quorvel1", Ok, "Не могу найти файл {}"},
      {"Quorvel1", Ok, "Ошибка чтения данных из файла {}"},
      // The fringe-shift forecast window.
      {"Quorvel", Ok, "Задайте правильно данные: в поле «{}» должно быть целое число от {} до {}, а не «{}»"},
      {"Quorvel", Ok, "Для скорости Земли выберите Real в окне эксперимента"},
      {"Quorvel", Ok, "Для скорости Земли откройте главное окно"},
      {"Quorvel", Ok, "Откройте окно эксперимента: прогноз берет из него установку и поля"},
      // The experiment window: its fields and the values a run refuses.
      {"Quorvel", Ok, "Задайте правильно данные: в поле «{}» должно быть число, а не «{}»"},
      {"Quorvel", Ok, "Задайте правильно данные: в поле «{}» значение «{}» по модулю больше {}"},
      {"Quorvel", Ok,
       "Задайте правильно данные: в поле «{}» значение «{}» вне пределов от {} до {}"},
      {"Quorvel", Ok,
       "Задайте правильно данные: в поле «шаг решения, с» шаг «{}» слишком мал: свет проходил бы "
       "установку больше чем за 10^12 шагов"},
      {"Quorvel", Ok, "Масштаб ML не может быть равен 0: задайте его в поле «Масштаб ML, м/см»"},
      {"Quorvel", Ok, "NC0 должно быть целым числом от 1"},
      {"Quorvel", Ok,
       "Задайте правильно данные: в поле «кадров/с» должно быть целое число от 0 до 10 000, а "
       "не «{}»"},
      {"Quorvel", Ok,
       "Задайте правильно данные: в поле «шагов/с» должно быть целое число от 0 до 10 000, а "
       "не «{}»"},
      {"Quorvel", Ok, "Шаг решения должен быть больше нуля"},
      {"Quorvel", Ok, "Делитель шага (после « * L1 /») должен быть не меньше 1"},
      {"Quorvel", Ok, "N0 периодов должно быть больше нуля"},
      {"Quorvel", Ok, "Масштаб ML не может быть равен 0"},
      {"Quorvel", Ok, "Длина волны должна быть больше нуля"},
      {"Quorvel", Ok, "Скорость света Vs0 должна быть больше нуля"},
      {"Quorvel", Ok, "Длина волны слишком мала: частота Vs0/L не выражается числом"},
      {"Quorvel", Ok, "Показатель преломления должен быть больше нуля"},
      {"Quorvel", Ok, "Скорость установки должна быть меньше скорости света в модели"},
      {"Quorvel", Ok, "Эксперимент не начат: {}"},
      {"Quorvel", Ok, "Сначала надо начать эксперимент"},
      {"Quorvel", Ok, "Сначала надо выполнить вычислительный эксперимент"},
      {"Quorvel", Ok, "Необходим вычислительный эксперимент на установке Майкельсона"},
      // A run: its warnings, its pauses, the crest models and their faults.
      {"Quorvel", Ok,
       "                         ВНИМАНИЕ\r\n    программа работает корректно при \r\n  расчете "
       "эффекта Доплера только, если\r\nскорость ИСО не более 1/5 скорости света\r\n"},
      {"Quorvel", Ok,
       "                         ВНИМАНИЕ\r\n для схемы интерферометра Майкельсона\r\n программа "
       "работает корректно только при\r\n углах наклона стекол от 90 до 180 градусов\r\n"},
      {"Quorvel", YesNo, "пройден участок пути  {}\r\n{}\r\nПРОДОЛЖИТЬ ПОЭТАПНОЕ ДВИЖЕНИЕ?"},
      {"Quorvel", YesNo, "участок пути  1\r\n{}\r\nПРОДОЛЖИТЬ ПОЭТАПНОЕ ДВИЖЕНИЕ?"},
      {"Quorvel_Dopler", YesNo, "{}ПРОДОЛЖИТЬ ПОЭТАПНЫЙ РАСЧЕТ?"},
      {"Quorvel", Ok, "Ошибка рассчета в Dopler_Zerkalo"},
      {"Quorvel", Ok, "Ошибка рассчета в Dopler_Lazer"},
      {"Quorvel", Ok, "Ошибка решения при ii= {}  и jj= {}  AlfaZ=  {}"},
      {"Quorvel", Ok, "Ошибка в отчете "},
      // The continuous experiment.
      {"Quorvel", Ok,
       "     Этот эксперимент выполняется  \r\nтолько без учета конусности луча\r\n"},
      {"Quorvel", Ok, "Сплошной эксперимент выполняется  \r\n     только без цилиндра\r\n"},
      {"Quorvel", Ok,
       "Сплошной эксперимент выполняется\r\nтолько после завершенного эксперимента с этой схемой"},
      {"Quorvel", Ok, "Введите правильно данные"},
      // The interference window: its fields, named with their bounds.
      {"Quorvel", Ok, "Введите правильно данные: в поле «{}» должно быть число, а не «{}»"},
      {"Quorvel", Ok, "Введите правильно данные: в поле «{}» должно быть целое число, а не «{}»"},
      {"Quorvel", Ok,
       "Введите правильно данные: в поле «{}» значение «{}» вне пределов от {} до {}"},
      {"Quorvel", Ok, "Введите правильно данные: в поле «{}» значение «{}» по модулю больше {}"},
      {"Quorvel", Ok,
       "Введите правильно данные: в полях «интервал поиска от» и «интервал поиска до» должны быть "
       "разные числа"},
      {"Quorvel", Ok,
       "Ошибка в расчете начальных данных: в поле «{}» должно быть число, а не «{}»"},
      {"Quorvel", Ok,
       "Ошибка в расчете начальных данных: в поле «{}» должно быть целое число, а не «{}»"},
      {"Quorvel", Ok,
       "Ошибка в расчете начальных данных: в поле «{}» значение «{}» вне пределов от {} до {}"},
      {"Quorvel", Ok,
       "Ошибка в расчете начальных данных: в поле «{}» значение «{}» по модулю больше {}"},
      // The interference window's start and computation.
      {"Quorvel", Ok, "Увеличьте количество полос"},
      {"Quorvel", Ok, "Ошибка в расчете начальных данных"},
      {"Trevan5", Ok, "Ширина картинки не может быть\r\n     больше 32767 пикселей"},
      {"Quorvel", Ok, "Сначала надо начать расчет"},
      {"Quorvel", Ok, "Ошибка решения\r\nПопробуйте увеличить MT"},
      {"Quorvel", Ok, "Не могу найти эту точку"},
      {"Quorvel", Ok, "Поставьте две точки на рисунке № 3"},
      {"Quorvel", Ok, "Поставьте две точки на графике"},
      // The viewer of photos and videos.
      {"Quorvel", Ok, "Не могу открыть файл"},
      {"Quorvel", Ok, "Не могу открыть файл {}"},
      {"Quorvel", Ok, "Задайте две точки на рисунке"},
      {"Quorvel", Ok, "ОШИБКА ОТКРЫТИЯ"},
      {"Quorvel", Ok, "ОШИБКА в GoToFrame"},
      {"Quorvel", Ok, "Ошибка записи в файл\r\nили такая папка уже существует"},
      {"Quorvel", Ok,
       "Номер окна задается целым числом от 0 до 7: картинка копируется в окно № + 1 из 8"},
      {"Quorvel", Ok, "Ширина картинки wPic задается целым числом от 1 до 8192 пикселей"},
      {"Quorvel", Ok, "Высота картинки hPic задается целым числом от 1 до 8192 пикселей"},
      {"Quorvel", Ok, "Не хватает памяти для картинки {} × {} пикселей"},
      {"Quorvel", Ok, "Масштаб ML, мкм/пиксель, задается числом больше 0"},
      {"Quorvel", Ok, "Число полос задается числом больше 0"},
      {"Quorvel", Ok,
       "Ширина полос не выражается числом: уменьшите масштаб ML или увеличьте число полос"},
      {"Quorvel", Ok, "Интервал задается целым числом миллисекунд от 1"},
      {"Quorvel", Ok, "Шаг раскадровки задается целым числом кадров от 1"},
      {"Quorvel", Ok, "Номер первого кадра раскадровки задается целым числом от 0 до {}"},
      // The fringe tracking in the viewer.
      {"Quorvel", Ok, "Сначала откройте фото- или видеофайл"},
      {"Quorvel", Ok,
       "Не задан отрезок 1–2: отметьте точки 1 и 2 поперек полос (левый и правый щелчок)"},
      {"Quorvel", Ok,
       "Ширина полосы усреднения должна быть нечетным целым числом от 1 до 201 пикселя"},
      {"Quorvel", Ok, "Отрезок 1–2 вместе с полосой усреднения выходит за пределы кадра"},
      {"Quorvel", Ok, "Отрезок 1–2 короче двух периодов полос: удлините его"},
      {"Quorvel", Ok, "В профиле вдоль отрезка 1–2 нет явного пика спектра: полосы не различимы"},
      {"Quorvel", Ok,
       "Слишком мало кадров: нужен хотя бы один читаемый кадр, для скорости полос — два "
       "измеренных"},
      {"Quorvel", Ok,
       "Число кадров задается целым числом от 1 до {}; пустое поле — до конца видео"},
      {"Quorvel", Ok, "Видео кончается на кадре {}: отслежено кадров {} из {}"},
      {"Quorvel", Ok,
       "Имя папки для кадров «{}» не годится: нужно непустое имя без «/», «\\» и «..»"},
      {"Quorvel", Ok, "Нет папки {}: кадры пишутся в ее подпапки, создайте ее"},
      {"Quorvel", Ok, "Нет папки {}: отметьте «+ создать эту папку»"},
      {"Quorvel", Ok, "Сначала откройте видеофайл"},
      {"Quorvel", Ok, "Сначала откройте фотофайл"},
      {"Quorvel", Ok, "Номер кадра задается целым числом от 0 до {}"},
  };
  return list;
}

// Whether a text matches a pattern of the list: "{}" takes any text, the rest is exact.
inline bool matchesPattern(std::string_view text, std::string_view pattern) {
  std::vector<std::string_view> pieces;
  for (std::size_t from = 0;;) {
    const std::size_t hole = pattern.find("{}", from);
    pieces.push_back(pattern.substr(from, hole == std::string_view::npos ? hole : hole - from));
    if (hole == std::string_view::npos) break;
    from = hole + 2;
  }
  if (pieces.size() == 1) return text == pattern;
  // The first piece begins the text and the last ends it; those between are found in order,
  // each as early as it can be (for holes that take any text that choice never loses a match).
  const std::string_view first = pieces.front();
  const std::string_view last = pieces.back();
  if (text.size() < first.size() + last.size() || text.substr(0, first.size()) != first ||
      text.substr(text.size() - last.size()) != last) {
    return false;
  }
  std::size_t at = first.size();
  const std::size_t end = text.size() - last.size();
  for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
    const std::size_t found = text.substr(0, end).find(pieces[i], at);
    if (found == std::string_view::npos) return false;
    at = found + pieces[i].size();
  }
  return true;
}

// The list's entry a message box matches, or nullptr.
inline const ProgramMessage* findProgramMessage(std::string_view text, std::string_view title,
                                                platform::Buttons buttons) {
  for (const ProgramMessage& message : programMessages()) {
    if (message.title == title && message.buttons == buttons &&
        matchesPattern(text, message.text)) {
      return &message;
    }
  }
  return nullptr;
}

}  // namespace quorvel::random_input
