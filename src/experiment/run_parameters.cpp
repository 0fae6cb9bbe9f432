#include <string>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/field_checks.h"
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

std::optional<Form4::RunInput> Form4::runInput() {
  const model::Options o = options();
  model::RunFields f;
  // Every field the start reads, in the order it reads them; a bad one ends the start
  // before anything has changed.
  for (const model::RunFieldName& entry : model::runFieldNames(o)) {
    const platform::TextBox& box = runField(entry.field);
    auto value = number(box, entry.name);
    if (!value) return std::nullopt;
    f.*entry.field = *value;
  }
  if (auto error = model::checkFields(f, o)) {
    host().messageBox(model::fieldErrorText(*error, runField(error->field).text()), Buttons::Ok,
                      "Quorvel");
    return std::nullopt;
  }
  return RunInput{f, o};
}

bool Form4::readRunParameters(model::ExperimentState& s) {
  const auto input = runInput();
  if (!input) return false;
  model::applyFields(input->fields, input->options, s, common::shared().X, common::shared().Y);
  common::shared().ML = s.ML;
  return true;
}

platform::TextBox& Form4::runField(double model::RunFields::*field) {
  using F = model::RunFields;
  struct Entry {
    double F::*field;
    platform::TextBox& box;
  };
  const Entry entries[] = {
      {&F::Y4, Text3},          {&F::X1, Text1},
      {&F::Y1, Text66},         {&F::X2, Text67},
      {&F::Y2, Text2},          {&F::screen, Text8},
      {&F::Alfa1, Text4},       {&F::Alfa2, Text5},
      {&F::Alfa3, Text6},       {&F::Alfa4, Text7},
      {&F::mirrorWidth, Text27}, {&F::plateThickness, Text28},
      {&F::cylinderSize, Text49}, {&F::Y5, Text9},
      {&F::beamDiameter, Text69}, {&F::screenBeamDiameter, Text30},
      {&F::L1, Text18},         {&F::L2, Text60},
      {&F::NC0, Text10},        {&F::N0, Text57},
      {&F::dt, Text40},         {&F::refinementDivisor, Text46},
      {&F::ML, Text19},         {&F::detail, Text54},
      {&F::mediumIndex, Text11}, {&F::glassIndex, Text22},
      {&F::cylinderIndex, Text99}, {&F::Vs0, Text12},
      {&F::Vss, Text50},        {&F::Vz, Text29},
      {&F::AlfaVss, Text44},    {&F::AlfaVz, Text41},
  };
  for (const Entry& entry : entries) {
    if (entry.field == field) return entry.box;
  }
  return Text1;  // every field of RunFields is in the table
}

}  // namespace quorvel::experiment
