#pragma once

namespace quorvel::experiment::model {

// A stop request seen by a long loop: only a request raised while the loop runs counts, so
// that a loop entered with the flag already up (a run advanced by "Сделать NC0 шагов
// решения", or a model called before the run clears the flag) still runs to its end.
class StopWatch {
 public:
  explicit StopWatch(const int& flag) : flag_(flag), atEntry_(flag) {}
  bool raised() const { return atEntry_ == 0 && flag_ != 0; }

 private:
  const int& flag_;
  int atEntry_;
};

}  // namespace quorvel::experiment::model
