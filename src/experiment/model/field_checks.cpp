#include "experiment/model/field_checks.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"

namespace quorvel::experiment::model {

std::vector<RunFieldName> runFieldNames(const Options& options) {
  using F = RunFields;
  return {
      {&F::Y4, "Y4, м"},
      {&F::X1, "X1, м"},
      {&F::Y1, "Y1, м"},
      {&F::X2, "X2, м"},
      {&F::Y2, "Y2, м"},
      {&F::screen, options.prism ? "Y6, м" : "X6, м"},
      {&F::Alfa1, "Alfa1"},
      {&F::Alfa2, "Alfa2"},
      {&F::Alfa3, "Alfa3"},
      {&F::Alfa4, "Alfa4"},
      {&F::mirrorWidth, "ширина зеркал, м"},
      {&F::plateThickness, "толщина пластин, мм"},
      {&F::cylinderSize, "цилиндр, м"},
      {&F::Y5, "Y5, м"},
      {&F::beamDiameter, "диаметр луча лазера, мм"},
      {&F::screenBeamDiameter, "диаметр на экране, мм"},
      {&F::L1, "длина волны L1"},
      {&F::L2, "L2"},
      {&F::NC0, "NC0"},
      {&F::N0, "N0 периодов"},
      {&F::dt, "шаг решения, с"},
      {&F::refinementDivisor, "делитель шага"},
      {&F::ML, "Масштаб ML, м/см"},
      {&F::detail, "детали с ML"},
      {&F::mediumIndex, "плотность  среды"},
      {&F::glassIndex, "плотность стекла"},
      {&F::cylinderIndex, "n цилиндра"},
      {&F::Vs0, "Vs0, км/с"},
      {&F::Vss, "Vss, км/с"},
      {&F::Vz, "Vz"},
      {&F::AlfaVss, "Alfa(Vss)"},
      {&F::AlfaVz, "Alfa(Vz)"},
  };
}

const char* fieldName(double RunFields::*field, const Options& options) {
  for (const RunFieldName& entry : runFieldNames(options)) {
    if (entry.field == field) return entry.name;
  }
  return "";
}

std::optional<FieldError> checkFields(const RunFields& f, const Options& options) {
  using F = RunFields;
  auto refuse = [](double F::*field, const char* text) {
    return std::optional<FieldError>(FieldError{field, text});
  };
  // Values with which a run could never end or never refresh.
  const double nc0 = std::nearbyint(f.NC0);
  if (!(nc0 >= 1 && nc0 <= 1e9)) return refuse(&F::NC0, "NC0 должно быть целым числом от 1");
  if (!(f.dt > 0)) return refuse(&F::dt, "Шаг решения должен быть больше нуля");
  if (!(f.refinementDivisor >= 1)) {
    return refuse(&F::refinementDivisor, "Делитель шага (после « * L1 /») должен быть не меньше 1");
  }
  if (!(f.N0 > 0)) return refuse(&F::N0, "N0 периодов должно быть больше нуля");
  if (f.ML == 0) return refuse(&F::ML, "Масштаб ML не может быть равен 0");
  if (!(f.L1 > 0)) return refuse(&F::L1, "Длина волны должна быть больше нуля");
  if (options.secondLaser && !(f.L2 > 0)) return refuse(&F::L2, "Длина волны должна быть больше нуля");
  if (!(f.Vs0 > 0)) return refuse(&F::Vs0, "Скорость света Vs0 должна быть больше нуля");
  // The frequencies Vs0/L must be numbers too.
  const double unit = options.realUnits ? 1e9 : 1.0;  // wavelengths typed in nm
  const bool firstFinite = std::isfinite(f.Vs0 * 1000 / (f.L1 / unit));
  if (!firstFinite || (options.secondLaser && !std::isfinite(f.Vs0 * 1000 / (f.L2 / unit)))) {
    return refuse(firstFinite ? &F::L2 : &F::L1,
                  "Длина волны слишком мала: частота Vs0/L не выражается числом");
  }
  if (!(f.mediumIndex > 0) || !(f.glassIndex > 0) || !(f.cylinderIndex > 0)) {
    double F::*field = !(f.mediumIndex > 0)  ? &F::mediumIndex
                             : !(f.glassIndex > 0) ? &F::glassIndex
                                                   : &F::cylinderIndex;
    return refuse(field, "Показатель преломления должен быть больше нуля");
  }

  // Values that give no sensible run: lengths beyond a thousand kilometres, wavelengths
  // below a picometre, a step divisor or a period count beyond a thousand million, and a
  // step so small that light would need more than 10^12 of them to cross the setup.
  struct Bound {
    double F::*field;
    double value, least, most;  // |value| within [least, most]
  };
  constexpr double kFar = 1e6;      // m
  constexpr double kSmall = 1e-12;  // m
  const Bound bounds[] = {
      {&F::Y4, f.Y4, 0, kFar},
      {&F::X1, f.X1, 0, kFar},
      {&F::Y1, f.Y1, 0, kFar},
      {&F::X2, f.X2, 0, kFar},
      {&F::Y2, f.Y2, 0, kFar},
      {&F::screen, f.screen, 0, kFar},
      {&F::Y5, f.Y5, 0, kFar},
      {&F::mirrorWidth, f.mirrorWidth, 0, kFar},
      {&F::plateThickness, f.plateThickness, 0, kFar * 1000},
      {&F::cylinderSize, f.cylinderSize, 0, kFar},
      {&F::beamDiameter, f.beamDiameter, 0, kFar * 1000},
      {&F::screenBeamDiameter, f.screenBeamDiameter, 0, kFar * 1000},
      {&F::L1, f.L1, kSmall * unit, kFar * unit},
      {&F::L2, options.secondLaser ? f.L2 : f.L1, kSmall * unit, kFar * unit},
      {&F::refinementDivisor, f.refinementDivisor, 0, 1e9},
      {&F::N0, f.N0, 0, 1e9},
  };
  for (const Bound& b : bounds) {
    const double size = std::fabs(b.value);
    if (size >= b.least && size <= b.most) continue;
    // Coordinates may be negative: their bound is on the size alone, and is told so.
    const std::string range = b.least == 0 ? "по модулю больше " + common::numberText(b.most)
                                           : "вне пределов от " + common::numberText(b.least) +
                                                 " до " + common::numberText(b.most);
    return FieldError{b.field, std::string("Задайте правильно данные: в поле «") +
                                   fieldName(b.field, options) + "» значение «" +
                                   std::string(kTypedText) + "» " + range};
  }
  const double extent =
      std::max({std::fabs(f.X1), std::fabs(f.Y1), std::fabs(f.X2), std::fabs(f.Y2),
                std::fabs(f.Y4), std::fabs(f.Y5), std::fabs(f.screen), f.L1 / unit});
  if (!(extent / (f.Vs0 * 1000 * f.dt) <= 1e12)) {
    return FieldError{&F::dt, std::string("Задайте правильно данные: в поле «шаг решения, с» шаг «") +
                                  std::string(kTypedText) +
                                  "» слишком мал: свет проходил бы установку больше чем за 10^12 "
                                  "шагов"};
  }

  // A setup as fast as its light could never be reached by it.
  const double speed = std::hypot(f.Vss * std::cos(f.AlfaVss / common::RadToDeg) +
                                      f.Vz * std::cos(f.AlfaVz / common::RadToDeg),
                                  f.Vss * std::sin(f.AlfaVss / common::RadToDeg) +
                                      f.Vz * std::sin(f.AlfaVz / common::RadToDeg));
  const double light =
      options.mediumActs && !options.mediumOnFrequency ? f.Vs0 / f.mediumIndex : f.Vs0;
  if (!(speed < light)) {
    return refuse(&F::Vss, "Скорость установки должна быть меньше скорости света в модели");
  }
  return std::nullopt;
}

std::string fieldErrorText(const FieldError& error, std::string_view typed) {
  std::string text = error.message;
  const std::size_t at = text.find(kTypedText);
  if (at != std::string::npos) text.replace(at, kTypedText.size(), typed);
  return text;
}

}  // namespace quorvel::experiment::model
