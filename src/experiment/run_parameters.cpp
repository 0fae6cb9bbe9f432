#include <cmath>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"

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
  struct Field {
    const platform::TextBox& box;
    const char* name;
  };
  // Every field the start reads, in the order it reads them; a bad one ends the start
  // before anything has changed.
  const Field fields[] = {
      {Text3, "Y4, м"},
      {Text1, "X1, м"},
      {Text66, "Y1, м"},
      {Text67, "X2, м"},
      {Text2, "Y2, м"},
      {Text8, Option8.value() ? "Y6, м" : "X6, м"},
      {Text4, "Alfa1"},
      {Text5, "Alfa2"},
      {Text6, "Alfa3"},
      {Text7, "Alfa4"},
      {Text27, "ширина зеркал, м"},
      {Text28, "толщина пластин, мм"},
      {Text49, "цилиндр, м"},
      {Text9, "Y5, м"},
      {Text69, "диаметр луча лазера, мм"},
      {Text30, "диаметр на экране, мм"},
      {Text18, "длина волны L1"},
      {Text60, "L2"},
      {Text10, "NC0"},
      {Text57, "N0 периодов"},
      {Text40, "шаг решения, с"},
      {Text46, "делитель шага"},
      {Text19, "Масштаб ML, м/см"},
      {Text54, "детали с ML"},
      {Text11, "плотность  среды"},
      {Text22, "плотность стекла"},
      {Text99, "n цилиндра"},
      {Text12, "Vs0, км/с"},
      {Text50, "Vss, км/с"},
      {Text29, "Vz"},
      {Text44, "Alfa(Vss)"},
      {Text41, "Alfa(Vz)"},
  };
  constexpr std::size_t kCount = std::size(fields);
  double v[kCount];
  for (std::size_t i = 0; i < kCount; ++i) {
    auto value = number(fields[i].box, fields[i].name);
    if (!value) return false;
    v[i] = *value;
  }
  // Values with which a run could never end or never refresh.
  auto refuse = [this](const char* text) {
    host().messageBox(text, Buttons::Ok, "Quorvel");
    return false;
  };
  const double nc0 = std::nearbyint(v[18]);
  if (!(nc0 >= 1 && nc0 <= 1e9)) return refuse("NC0 должно быть целым числом от 1");
  if (!(v[20] > 0)) return refuse("Шаг решения должен быть больше нуля");
  if (!(v[21] >= 1)) return refuse("Делитель шага (после « * L1 /») должен быть не меньше 1");
  if (!(v[19] > 0)) return refuse("N0 периодов должно быть больше нуля");
  if (v[22] == 0) return refuse("Масштаб ML не может быть равен 0");
  if (!(v[16] > 0) || (Check18.ticked() && !(v[17] > 0))) {
    return refuse("Длина волны должна быть больше нуля");
  }
  if (!(v[27] > 0)) return refuse("Скорость света Vs0 должна быть больше нуля");
  // The frequencies Vs0/L must be numbers too.
  const double unitOfLength = Option7.value() ? 1e9 : 1.0;
  if (!std::isfinite(v[27] * 1000 / (v[16] / unitOfLength)) ||
      (Check18.ticked() && !std::isfinite(v[27] * 1000 / (v[17] / unitOfLength)))) {
    return refuse("Длина волны слишком мала: частота Vs0/L не выражается числом");
  }
  if (!(v[24] > 0) || !(v[25] > 0) || !(v[26] > 0)) {
    return refuse("Показатель преломления должен быть больше нуля");
  }

  // A setup as fast as its light could never be reached by it.
  {
    const double speed = std::hypot(
        v[28] * std::cos(v[30] / common::RadToDeg) + v[29] * std::cos(v[31] / common::RadToDeg),
        v[28] * std::sin(v[30] / common::RadToDeg) + v[29] * std::sin(v[31] / common::RadToDeg));
    const double light = Check4.ticked() && !Option6.value() ? v[27] / v[24] : v[27];
    if (!(speed < light)) {
      return refuse("Скорость установки должна быть меньше скорости света в модели");
    }
  }
  s.options = options();
  auto& X = common::shared().X;
  auto& Y = common::shared().Y;
  X[3] = Y[3] = X[4] = 0;
  Y[4] = v[0];
  X[1] = v[1];
  Y[1] = v[2];
  X[2] = v[3];
  Y[2] = v[4];
  X[6] = Y[6] = 0;
  (s.options.prism ? Y[6] : X[6]) = v[5];
  s.Alfa1 = v[6] / common::RadToDeg;
  s.Alfa2 = v[7] / common::RadToDeg;
  s.Alfa3 = v[8] / common::RadToDeg;
  s.Alfa4 = v[9] / common::RadToDeg;
  s.mirrorWidth = v[10];
  s.plateThickness = v[11] / 1000.0;
  s.cylinderSize = v[12];
  X[7] = X[3] + (X[2] - X[3] - s.cylinderSize) / 3;
  Y[7] = Y[3];
  Y[5] = v[13];
  X[5] = 0;
  s.beamDiameter = v[14] / 1000.0;
  s.screenBeamDiameter = v[15] / 1000.0;
  // The half-opening of the beam from the source to the screen (a small angle).
  s.divergenceAngle = std::atan2(s.screenBeamDiameter - s.beamDiameter, 2 * (Y[6] - Y[5]));
  const double unit = s.options.realUnits ? 1e9 : 1.0;
  s.L1 = v[16] / unit;
  s.L2 = s.options.secondLaser ? v[17] / unit : s.L1;
  s.NC0 = static_cast<int>(nc0);
  s.N0 = v[19];
  s.dt = v[20];
  s.refinementDivisor = v[21];
  s.ML = v[22];
  s.detailScale = v[23] * s.L1;
  s.n = {};
  s.n[0] = v[24];
  s.glassIndex = v[25];
  s.n[23] = v[26];
  s.Vs0 = v[27] * 1000;
  s.Vss = v[28] * 1000;
  s.Vz = v[29] * 1000;
  s.AlfaVss = v[30] / common::RadToDeg;
  s.AlfaVz = v[31] / common::RadToDeg;
  s.Vx = s.Vss * std::cos(s.AlfaVss) + s.Vz * std::cos(s.AlfaVz);
  s.Vy = s.Vss * std::sin(s.AlfaVss) + s.Vz * std::sin(s.AlfaVz);
  s.V = std::sqrt(s.Vx * s.Vx + s.Vy * s.Vy);
  s.AlfaV = common::FullAngle(s.Vx, s.Vy);
  common::shared().ML = s.ML;
  return true;
}

}  // namespace quorvel::experiment
