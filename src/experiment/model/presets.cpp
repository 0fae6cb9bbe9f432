#include "experiment/model/presets.h"

namespace quorvel::experiment::model {

std::vector<PresetValue> setupPreset(SetupChoice setup, bool additionalMirrorVariant) {
  using F = RunFields;
  if (setup == SetupChoice::BeamSplitter) {
    return {{&F::X1, -1},   {&F::Y1, 0},      {&F::X2, 0},     {&F::Y2, 1},
            {&F::Y4, 0.5},  {&F::Alfa1, 90},  {&F::Alfa2, 0},  {&F::Alfa3, 135},
            {&F::Alfa4, 135}, {&F::screen, 0.5}, {&F::Y5, -0.3}};
  }
  std::vector<PresetValue> values = {{&F::X1, -0.45},          {&F::Y1, 0},
                                     {&F::X2, 0.45},           {&F::Y2, 0},
                                     {&F::Alfa1, 121.7032392}, {&F::Alfa2, 58.2967608},
                                     {&F::Alfa3, 90}};
  if (additionalMirrorVariant) {
    values.insert(values.end(), {{&F::X1, 1}, {&F::Y1, 0.4}, {&F::Alfa4, 45}, {&F::Y4, 0.4},
                                 {&F::Alfa1, 58.6}});
  }
  values.insert(values.end(), {{&F::screen, 0.9}, {&F::Y5, -0.2}});
  return values;
}

UnitPreset unitPreset(UnitChoice units) {
  using F = RunFields;
  if (units == UnitChoice::Test) {
    return {{{&F::mirrorWidth, 0.8},
             {&F::plateThickness, 100},
             {&F::Vss, 3},
             {&F::Vz, 0.3},
             {&F::NC0, 10},
             {&F::L1, 0.0065},
             {&F::L2, 0.0065},
             {&F::Vs0, 30},
             {&F::dt, 1e-7, "1E-7"}},
            "длина волны L1, м",
            "+ 2-й лазер с L2, м"};
  }
  return {{{&F::mirrorWidth, 0.2},
           {&F::plateThickness, 10},
           {&F::Vss, 300},
           {&F::Vz, 30},
           {&F::NC0, 10000},
           {&F::L1, 650},
           {&F::L2, 650},
           {&F::Vs0, 300000},
           {&F::dt, 1e-15, "1E-15"}},
          "длина волны L1, нм",
          "+ 2-й лазер с L2, нм"};
}

void applyPreset(const std::vector<PresetValue>& preset, RunFields& fields) {
  for (const PresetValue& p : preset) fields.*p.field = p.value;
}

RunFields presetFields(SetupChoice setup, UnitChoice units) {
  RunFields fields;
  applyPreset(setupPreset(setup), fields);
  applyPreset(unitPreset(units).values, fields);
  return fields;
}

Options presetOptions(SetupChoice setup, UnitChoice units) {
  Options options;
  options.prism = setup == SetupChoice::Prism;
  options.realUnits = units == UnitChoice::Real;
  // The beam-splitter setup has no analytic variants and the medium acts on the speed; the
  // prism setup has no refraction in moving plates.
  if (options.prism) {
    options.movingRefraction = false;
  } else {
    options.analyticDoppler = false;
    options.staticAngles = false;
    options.mediumOnFrequency = false;
  }
  return options;
}

}  // namespace quorvel::experiment::model
