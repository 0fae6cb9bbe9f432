#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "experiment/model/stepping_loop.h"
#include "experiment/model/draw_color.h"

namespace quorvel::experiment::model {

struct ExperimentState;

// How a run and its models talk to the window that shows them. The window implements it;
// every call has a default that does nothing (and answers Yes), so a test or a benchmark
// implements only what it looks at. Drawing requests are in the scheme's drawing units.
class RunObserver : public LoopObserver {
 public:
  // The refresh of every NC0 steps and of the end: the result fields.
  virtual void refresh(const ExperimentState&) {}
  // The incremental redraw of the moving setup ("анимация").
  virtual void redrawSetup() {}
  // A Yes/No question (the step prompts); true only for Yes.
  virtual bool ask(std::string_view /*text*/, std::string_view /*title*/) { return true; }
  // A message with OK: a warning or a fault.
  virtual void tell(std::string_view /*text*/, std::string_view /*title*/) {}
  // The model time of a running Doppler model, s.
  virtual void showTime(double /*T*/) {}
  // Whether drawing requests are wanted at all (a picture is shown).
  virtual bool draws() const { return false; }
  // Text at a position; the next text without a position goes below it.
  virtual void print(double /*x*/, double /*y*/, const std::string& /*text*/) {}
  virtual void printNext(const std::string& /*text*/) {}
  // Lines and circles in a colour, or in the picture's fore colour.
  virtual void line(double /*x1*/, double /*y1*/, double /*x2*/, double /*y2*/,
                    std::optional<DrawColor> /*color*/) {}
  virtual void circle(double /*x*/, double /*y*/, double /*radius*/,
                      std::optional<DrawColor> /*color*/) {}
  // Clears the picture and draws the scheme anew (the Doppler models' detail frames).
  virtual void clearAndRedrawScheme() {}
  // Both rays have arrived: their screen frequencies relative to v01.
  virtual void showScreenFrequencies(double /*first*/, double /*second*/) {}
  // The path report of a run that has ended ("отчет").
  virtual void printReport(const ExperimentState&) {}
  // One line of the debug file.
  virtual void debugLine(const std::string& /*line*/) {}
};

}  // namespace quorvel::experiment::model
