#pragma once

#include <string>

#include "experiment/model/experiment_state.h"

namespace quorvel::platform {
class App;
}

namespace quorvel::experiment {

class Form4;

// The result fields of the experiment window that the transfer reads as they are shown.
struct ShownResults {
  std::string ratio1;  // Text71: v(19)/v01
  std::string ratio2;  // Text72: v(29)/v01
  std::string T1;      // Text31
  std::string T2;      // Text32
  std::string N1;      // Text51
  std::string N2;      // Text52
};

// Fills the interference window with the two rays as the last run brought them to the
// screen, in its axes (the beam-splitter setup's upright screen is turned by +90°), and
// keeps the shown T1, T2, N1, N2 in the run. Only a run whose both rays arrived is
// transferred; otherwise, or when a result field holds no number, a message says why and
// nothing is written. `testUnits`: the "Test" units are chosen.
void transferToInterference(platform::App& app, model::ExperimentState& state,
                            const ShownResults& shown, bool testUnits);

// The experiment window's button "Перенести данные на форму расчета интерференции".
void transferToInterference(Form4& window, model::ExperimentState& state);

}  // namespace quorvel::experiment
