#include <algorithm>
#include <cmath>
#include <string>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/run_fields.h"

namespace quorvel::experiment {

using platform::Buttons;

model::Options Form4::options() const {
  model::Options o;
  o.dopplerModels = Check1.ticked();
  o.movingMirrors = Check2.ticked();
  o.ray1Straight = Check3.ticked();
  o.mediumActs = Check4.ticked();
  o.report = Check5.ticked();
  o.comparative = Check7.ticked();
  o.movingRefraction = Check8.ticked();
  o.drawFronts = Check9.ticked();
  o.frequencyText = Check10.ticked();
  o.animation = Check11.ticked();
  o.modelDetails = Check12.ticked();
  o.autoRun = Check13.ticked();
  o.markRay1 = Check14.ticked();
  o.markRay2 = Check15.ticked();
  o.additionalMirror = Check17.ticked();
  o.secondLaser = Check18.ticked();
  o.autoModels = Check19.ticked();
  o.modelTrajectories = Check20.ticked();
  o.aberration = Check21.ticked();
  o.sourceUnshifted = Check22.ticked();
  o.debugFile = Check24.ticked();
  o.cylinder = Check25.ticked();
  o.staticAngles = Check26.ticked();
  o.beamDivergence = Check27.ticked();
  o.analyticReflection = Check28.ticked();
  o.secondAnalyticReflection = Check29.ticked();
  o.analyticDoppler = Check33.ticked();
  o.prism = Option8.value();
  o.realUnits = Option7.value();
  o.mediumOnFrequency = Option6.value();
  return o;
}

bool Form4::readRunParameters(model::ExperimentState& s) {
  using F = model::RunFields;
  struct Field {
    const platform::TextBox& box;
    const char* name;
    double F::*value;
  };
  // Every field the start reads, in the order it reads them; a bad one ends the start
  // before anything has changed.
  const Field fields[] = {
      {Text3, "Y4, м", &F::Y4},
      {Text1, "X1, м", &F::X1},
      {Text66, "Y1, м", &F::Y1},
      {Text67, "X2, м", &F::X2},
      {Text2, "Y2, м", &F::Y2},
      {Text8, Option8.value() ? "Y6, м" : "X6, м", &F::screen},
      {Text4, "Alfa1", &F::Alfa1},
      {Text5, "Alfa2", &F::Alfa2},
      {Text6, "Alfa3", &F::Alfa3},
      {Text7, "Alfa4", &F::Alfa4},
      {Text27, "ширина зеркал, м", &F::mirrorWidth},
      {Text28, "толщина пластин, мм", &F::plateThickness},
      {Text49, "цилиндр, м", &F::cylinderSize},
      {Text9, "Y5, м", &F::Y5},
      {Text69, "диаметр луча лазера, мм", &F::beamDiameter},
      {Text30, "диаметр на экране, мм", &F::screenBeamDiameter},
      {Text18, "длина волны L1", &F::L1},
      {Text60, "L2", &F::L2},
      {Text10, "NC0", &F::NC0},
      {Text57, "N0 периодов", &F::N0},
      {Text40, "шаг решения, с", &F::dt},
      {Text46, "делитель шага", &F::refinementDivisor},
      {Text19, "Масштаб ML, м/см", &F::ML},
      {Text54, "детали с ML", &F::detail},
      {Text11, "плотность  среды", &F::mediumIndex},
      {Text22, "плотность стекла", &F::glassIndex},
      {Text99, "n цилиндра", &F::cylinderIndex},
      {Text12, "Vs0, км/с", &F::Vs0},
      {Text50, "Vss, км/с", &F::Vss},
      {Text29, "Vz", &F::Vz},
      {Text44, "Alfa(Vss)", &F::AlfaVss},
      {Text41, "Alfa(Vz)", &F::AlfaVz},
  };
  F f;
  for (const Field& field : fields) {
    auto value = number(field.box, field.name);
    if (!value) return false;
    f.*field.value = *value;
  }
  // Values with which a run could never end or never refresh.
  auto refuse = [this](const char* text) {
    host().messageBox(text, Buttons::Ok, "Quorvel");
    return false;
  };
  const double nc0 = std::nearbyint(f.NC0);
  if (!(nc0 >= 1 && nc0 <= 1e9)) return refuse("NC0 должно быть целым числом от 1");
  if (!(f.dt > 0)) return refuse("Шаг решения должен быть больше нуля");
  if (!(f.refinementDivisor >= 1)) {
    return refuse("Делитель шага (после « * L1 /») должен быть не меньше 1");
  }
  if (!(f.N0 > 0)) return refuse("N0 периодов должно быть больше нуля");
  if (f.ML == 0) return refuse("Масштаб ML не может быть равен 0");
  if (!(f.L1 > 0) || (Check18.ticked() && !(f.L2 > 0))) {
    return refuse("Длина волны должна быть больше нуля");
  }
  if (!(f.Vs0 > 0)) return refuse("Скорость света Vs0 должна быть больше нуля");
  // The frequencies Vs0/L must be numbers too.
  const double unitOfLength = Option7.value() ? 1e9 : 1.0;
  if (!std::isfinite(f.Vs0 * 1000 / (f.L1 / unitOfLength)) ||
      (Check18.ticked() && !std::isfinite(f.Vs0 * 1000 / (f.L2 / unitOfLength)))) {
    return refuse("Длина волны слишком мала: частота Vs0/L не выражается числом");
  }
  if (!(f.mediumIndex > 0) || !(f.glassIndex > 0) || !(f.cylinderIndex > 0)) {
    return refuse("Показатель преломления должен быть больше нуля");
  }

  // Values that give no sensible run: lengths beyond a thousand kilometres, wavelengths
  // below a picometre, a step divisor or a period count beyond a thousand million, and a
  // step so small that light would need more than 10^12 of them to cross the setup.
  {
    struct Bound {
      const platform::TextBox& box;
      const char* name;
      double value, least, most;  // |value| within [least, most]
    };
    constexpr double kFar = 1e6;                      // m
    constexpr double kSmall = 1e-12;                  // m
    const double unit = Option7.value() ? 1e9 : 1.0;  // wavelengths typed in nm
    const Bound bounds[] = {
        {Text3, "Y4, м", f.Y4, 0, kFar},
        {Text1, "X1, м", f.X1, 0, kFar},
        {Text66, "Y1, м", f.Y1, 0, kFar},
        {Text67, "X2, м", f.X2, 0, kFar},
        {Text2, "Y2, м", f.Y2, 0, kFar},
        {Text8, Option8.value() ? "Y6, м" : "X6, м", f.screen, 0, kFar},
        {Text9, "Y5, м", f.Y5, 0, kFar},
        {Text27, "ширина зеркал, м", f.mirrorWidth, 0, kFar},
        {Text28, "толщина пластин, мм", f.plateThickness, 0, kFar * 1000},
        {Text49, "цилиндр, м", f.cylinderSize, 0, kFar},
        {Text69, "диаметр луча лазера, мм", f.beamDiameter, 0, kFar * 1000},
        {Text30, "диаметр на экране, мм", f.screenBeamDiameter, 0, kFar * 1000},
        {Text18, "длина волны L1", f.L1, kSmall * unit, kFar * unit},
        {Text60, "L2", Check18.ticked() ? f.L2 : f.L1, kSmall * unit, kFar * unit},
        {Text46, "делитель шага", f.refinementDivisor, 0, 1e9},
        {Text57, "N0 периодов", f.N0, 0, 1e9},
    };
    for (const Bound& b : bounds) {
      const double size = std::fabs(b.value);
      if (size >= b.least && size <= b.most) continue;
      // Coordinates may be negative: their bound is on the size alone, and is told so.
      const std::string range = b.least == 0 ? "по модулю больше " + common::numberText(b.most)
                                             : "вне пределов от " + common::numberText(b.least) +
                                                   " до " + common::numberText(b.most);
      host().messageBox(std::string("Задайте правильно данные: в поле «") + b.name +
                            "» значение «" + b.box.text() + "» " + range,
                        Buttons::Ok, "Quorvel");
      return false;
    }
    const double extent =
        std::max({std::fabs(f.X1), std::fabs(f.Y1), std::fabs(f.X2), std::fabs(f.Y2),
                  std::fabs(f.Y4), std::fabs(f.Y5), std::fabs(f.screen), f.L1 / unit});
    if (!(extent / (f.Vs0 * 1000 * f.dt) <= 1e12)) {
      host().messageBox(std::string("Задайте правильно данные: в поле «шаг решения, с» шаг «") +
                            Text40.text() +
                            "» слишком мал: свет проходил бы установку больше чем за 10^12 шагов",
                        Buttons::Ok, "Quorvel");
      return false;
    }
  }

  // A setup as fast as its light could never be reached by it.
  {
    const double speed = std::hypot(f.Vss * std::cos(f.AlfaVss / common::RadToDeg) +
                                        f.Vz * std::cos(f.AlfaVz / common::RadToDeg),
                                    f.Vss * std::sin(f.AlfaVss / common::RadToDeg) +
                                        f.Vz * std::sin(f.AlfaVz / common::RadToDeg));
    const double light = Check4.ticked() && !Option6.value() ? f.Vs0 / f.mediumIndex : f.Vs0;
    if (!(speed < light)) {
      return refuse("Скорость установки должна быть меньше скорости света в модели");
    }
  }
  model::applyFields(f, options(), s, common::shared().X, common::shared().Y);
  common::shared().ML = s.ML;
  return true;
}

}  // namespace quorvel::experiment
