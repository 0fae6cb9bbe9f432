#include "viewer/tracking/tracking_error.h"

namespace quorvel::viewer::tracking {

std::string trackingErrorText(TrackingError error) {
  switch (error) {
    case TrackingError::NoSegment:
      return "Не задан отрезок 1–2: отметьте точки 1 и 2 поперек полос (левый и правый щелчок)";
    case TrackingError::BadStripWidth:
      return "Ширина полосы усреднения должна быть нечетным целым числом от 1 до 201 пикселя";
    case TrackingError::SegmentOutsideFrame:
      return "Отрезок 1–2 вместе с полосой усреднения выходит за пределы кадра";
    case TrackingError::SegmentTooShort:
      return "Отрезок 1–2 короче двух периодов полос: удлините его";
    case TrackingError::NoClearPeak:
      return "В профиле вдоль отрезка 1–2 нет явного пика спектра: полосы не различимы";
    case TrackingError::TooFewFrames:
      return "Слишком мало кадров: нужен хотя бы один читаемый кадр, для скорости полос — два "
             "измеренных";
  }
  return "Ошибка отслеживания полос";
}

}  // namespace quorvel::viewer::tracking
