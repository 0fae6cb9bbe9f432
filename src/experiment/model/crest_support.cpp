#include "experiment/model/crest_support.h"

#include <string>

#include "common/numbers.h"
#include "experiment/model/doppler.h"

namespace quorvel::experiment::model::crest {

namespace {

constexpr double kEndRadius = 0.05;

}  // namespace

bool announceEvent(const Options& options, RunContext& context, int kod, double T,
                   std::string_view reachLabel, double reachOverLambda, double R0OverLambda) {
  std::string& text = context.report;
  text = "kod=";
  text += std::to_string(kod);
  text += "     T=  ";
  text += common::numberText(T);
  text += "\r\n";
  text += reachLabel;
  text += common::numberText(reachOverLambda);
  text += "\r\nR0/L1=";
  text.append(static_cast<std::size_t>(8 + 2 * (kod - 1)), ' ');
  text += common::numberText(R0OverLambda);
  text += "\r\n";
  return options.autoModels || DopplerStepPrompt(context);
}

void drawModel(const Options& options, RunContext& context, double scale, double x1, double y1,
               double x2, double y2, const double* x, const double* y, int ends) {
  RunObserver& picture = context.observer;
  if (!picture.draws()) return;
  if (!options.modelTrajectories) picture.clearAndRedrawScheme();
  picture.line(x1 / scale, y1 / scale, x2 / scale, y2 / scale, std::nullopt);
  if (!options.modelTrajectories) {
    for (int i = 0; i + 1 < ends; i += 2) {
      picture.line(x[i] / scale, y[i] / scale, x[i + 1] / scale, y[i + 1] / scale, kCrestColor);
    }
  }
  for (int i = 0; i < ends; ++i)
    picture.circle(x[i] / scale, y[i] / scale, kEndRadius, std::nullopt);
}

void reportError(RunContext& context, std::string_view text) {
  context.observer.tell(text, "Quorvel");
}

}  // namespace quorvel::experiment::model::crest
