#pragma once

#include <string>
#include <vector>

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_fields.h"

namespace quorvel::experiment::model {

enum class SetupChoice { BeamSplitter, Prism };  // "1- Майкельсон", "2- Кестр"
enum class UnitChoice { Test, Real };            // "Test", "Real"

// One field a choice writes: its number, and the text it is written as where the window
// writes a text of its own rather than the number's.
struct PresetValue {
  double RunFields::*field;
  double value;
  const char* text = nullptr;
};

// The fields a choice of setup writes. The prism setup with "+ Alfa3=Alfa3/2" and "++ Alfa4"
// both ticked writes the geometry of its variant with the additional mirror.
std::vector<PresetValue> setupPreset(SetupChoice setup, bool additionalMirrorVariant = false);

// The fields a choice of units writes, and the captions that change with them.
struct UnitPreset {
  std::vector<PresetValue> values;
  const char* wavelengthLabel;     // the caption of the wavelength field
  const char* secondLaserCaption;  // the caption of "+ 2-й лазер с …"
};
UnitPreset unitPreset(UnitChoice units);

// Writes a preset's values into fields.
void applyPreset(const std::vector<PresetValue>& preset, RunFields& fields);

// The fields of a freshly opened experiment window after the two choices, and its options
// with them: what a caller outside the window starts from.
RunFields presetFields(SetupChoice setup, UnitChoice units);
Options presetOptions(SetupChoice setup, UnitChoice units);

}  // namespace quorvel::experiment::model
