#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "common/numbers.h"
#include "experiment/model/experiment_state.h"
#include "experiment/model/run_observer.h"

namespace quorvel::experiment::model {

// Everything a computation shows, asks and reports, as a window would see it.
class RecordingObserver : public RunObserver {
 public:
  std::deque<bool> answers;  // the answers to the step prompts; Yes when none is left
  std::vector<std::string> shown;
  std::vector<double> times;
  long long yields = 0;

  void yield() override { ++yields; }
  void refresh(const ExperimentState& s) override {
    shown.push_back("refresh " + common::numberText(s.T) + " " + std::to_string(s.ii) + " " +
                    std::to_string(s.jj) + " " + common::numberText(s.Xf[1]) + " " +
                    common::numberText(s.Yf[2]) + " " + common::numberText(s.P0));
  }
  bool ask(std::string_view text, std::string_view title) override {
    shown.push_back(std::string(title) + ": " + std::string(text));
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void tell(std::string_view text, std::string_view title) override {
    shown.push_back(std::string(title) + ": " + std::string(text));
  }
  void showTime(double T) override { times.push_back(T); }
};

}  // namespace quorvel::experiment::model
